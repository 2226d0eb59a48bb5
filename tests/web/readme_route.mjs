// The README's route files (tests/data/readme, which the screenshot and output tools copy too),
// which the route page's tests open and the Linux build reads for the bytes the page must give.
import fs from 'node:fs';
import path from 'node:path';

import {repoRoot} from './harness.mjs';

// The Linux build's program, whose output the page is compared with.
export const kLinux = path.join(repoRoot, 'build/default/src/main/hcurve');

const readme = (name) => fs.readFileSync(path.join(repoRoot, 'tests/data/readme', name), 'utf8');

// The README's route (a JD table with a long chain at K12+800), grade line, cross-fall and
// cross-section (template, crown, superelevation, side slopes and ditch), each a file of its own.
export const kRoute = readme('route.csv');
export const kProfile = readme('profile.csv');
export const kCrossFall = readme('crossfall.csv');
export const kSection = readme('section.csv');
