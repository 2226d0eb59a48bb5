// The browser edition's one-curve window in headless Chromium, from file://: the size of
// build/web/hcurve.html, the time from opening the page until its first question can be
// answered, and the time from the last answer of the README's worked example until every result
// is shown. Each is measured RUNS times (default 10); prints the median and the worst. Figures
// only.
//
// Limits: the page ready within 1 s of opening; all results within 50 ms of the last answer; the
// file at most 4 MB.
// Usage: node bench/web_curve_speed.mjs [RUNS]   (puppeteer-core from tests/web/node_modules)
import { statSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { openPage, closePage } from '../tests/web/harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const runs = Number(process.argv[2] || 10);
const answers = ['7', '', '12345.678', '', '3456789.123', '', '512345.678', '', '45.3015', '', '30.1530', '', '500', '', '200', '', '250', '', 'n'];

const ready = [];
const results = [];
for (let run = 0; run < runs; ++run) {
  const ctx = await openPage();
  const page = ctx.page;
  ready.push(await page.evaluate(() => window.hcurveReadyAt));
  await page.evaluate(() => [...document.querySelectorAll('#curve-design .command')].find((b) => b.textContent === '开始计算').click());
  for (let i = 0; i < answers.length; ++i) {
    await page.waitForFunction((n) => {
      const d = document.getElementById('question-dialog');
      return d.open && Number(d.dataset.asked) === n;
    }, {}, i + 1);
    await page.keyboard.type(answers[i]);
    await page.keyboard.press('Enter');
  }
  await page.waitForFunction(() => document.body.dataset.running === '0');
  results.push(await page.evaluate(() => window.hcurveCommandEndedAt - window.hcurveAnsweredAt));
  await closePage(ctx);
}
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const size = statSync(path.join(root, 'build/web/hcurve.html')).size;
console.log(`hcurve.html: ${size} bytes (${(size / 1e6).toFixed(2)} MB; limit 4 MB)`);
console.log(`page ready: median ${median(ready).toFixed(1)} ms, worst ${Math.max(...ready).toFixed(1)} ms (limit 1000 ms)`);
console.log(`worked example, last answer to all results: median ${median(results).toFixed(1)} ms, worst ${Math.max(...results).toFixed(1)} ms (limit 50 ms)`);
