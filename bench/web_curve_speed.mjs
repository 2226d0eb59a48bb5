// The browser edition's one-curve window in headless Chromium, from file://: the size of
// build/web/hcurve.html, the time from opening the page until its first question can be
// answered, and the time from the last answer of the README's worked example until every result
// is shown. Each is measured RUNS times (default 10); prints the median and the worst. Figures
// only.
//
// Limits: the page ready within 1 s of opening; all results within 50 ms of the last answer; the
// file at most 4 MB.
// The page is opened by a browser that watches nothing of it (no devtools network domain, which
// the tests' harness enables to count requests and which alone adds some 300 ms to the start).
// Usage: node bench/web_curve_speed.mjs [RUNS]   (puppeteer-core from tests/web/node_modules)
import { statSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from '../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const browser = await puppeteer.launch({
  executablePath: process.env.HCURVE_CHROMIUM || '/usr/bin/chromium', headless: true,
  args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
});
const pageUrl = pathToFileURL(path.join(root, 'build/web/hcurve.html')).href;
async function openPage() {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(pageUrl);
  await page.waitForFunction(() => window.hcurveReady === true, { timeout: 30000 });
  return { context, page };
}
const closePage = (ctx) => ctx.context.close();
const runs = Number(process.argv[2] || 10);
const answers = ['7', '', '12345.678', '', '3456789.123', '', '512345.678', '', '45.3015', '', '30.1530', '', '500', '', '200', '', '250', '', 'n'];

const ready = [];
const steps = [];
const results = [];
for (let run = 0; run < runs; ++run) {
  const ctx = await openPage();
  const page = ctx.page;
  ready.push(await page.evaluate(() => window.hcurveReadyAt));
  steps.push(await page.evaluate(() => {
    const nav = performance.getEntriesByType('navigation')[0];
    const mark = (name) => (performance.getEntriesByName(name)[0] || { startTime: NaN }).startTime;
    return { read: nav.responseEnd, parsed: nav.domInteractive, start: mark('hcurve-start'),
      wasm: mark('hcurve-wasm'), module: mark('hcurve-module'), curve: mark('hcurve-view-curve-page'),
      route: mark('hcurve-view-route-page'), ready: window.hcurveReadyAt };
  }));
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
await browser.close();
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const size = statSync(path.join(root, 'build/web/hcurve.html')).size;
console.log(`hcurve.html: ${size} bytes (${(size / 1e6).toFixed(2)} MB; limit 4 MB)`);
console.log(`page ready: median ${median(ready).toFixed(1)} ms, worst ${Math.max(...ready).toFixed(1)} ms (limit 1000 ms)`);
// Where the start's time goes, each step's median: the file read, its HTML and scripts parsed, the
// WebAssembly's base64 decoded, compiled and instantiated, each view built.
const step = (to, from) => median(steps.map((s) => s[to] - (from ? s[from] : 0))).toFixed(1);
console.log(`  start's steps (medians, ms): file read ${step('read')}, parsed ${step('parsed', 'read')}, ` +
  `to the start ${step('start', 'parsed')}, wasm decoded ${step('wasm', 'start')}, ` +
  `module compiled and started ${step('module', 'wasm')}, 平曲线 built ${step('curve', 'module')}, ` +
  `路线 built ${step('route', 'curve')}, then ready ${step('ready', 'route')}`);
console.log(`worked example, last answer to all results: median ${median(results).toFixed(1)} ms, worst ${Math.max(...results).toFixed(1)} ms (limit 50 ms)`);
