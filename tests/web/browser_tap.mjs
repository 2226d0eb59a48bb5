// The browser tests' TAP, each test named with the browser it ran in ("[firefox] the worked
// example ..."), so that one run's output says which browser passed or failed what.
import process from 'node:process';
import {tap} from 'node:test/reporters';

const browser = process.env.HCURVE_BROWSER || 'chromium';
const named = new Set(['test:start', 'test:pass', 'test:fail', 'test:plan', 'test:enqueue', 'test:dequeue']);

async function* inBrowser(source) {
    for await (const event of source) {
        if (named.has(event.type) && event.data && typeof event.data.name === 'string')
            yield {...event, data: {...event.data, name: `[${browser}] ${event.data.name}`}};
        else
            yield event;
    }
}

export default async function* browserTap(source) {
    yield* tap(inBrowser(source));
}
