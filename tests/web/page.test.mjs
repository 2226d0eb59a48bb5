// The built page as a user opens it: from file://, on a desktop and on a phone, ready to be asked,
// without a single request, without an error in its console, and small enough to mail.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';

import {assertNoRequests, closePage, openPage, repoRoot} from './harness.mjs';

const kPage = path.join(repoRoot, 'build/web/hcurve.html');
const kMaxBytes = 4 * 1024 * 1024;

test('the page is one file of at most 4 MB that loads nothing else', () => {
    const html = fs.readFileSync(kPage, 'utf8');
    assert.ok(fs.statSync(kPage).size <= kMaxBytes, `${fs.statSync(kPage).size} bytes`);
    // Nothing that would fetch: no script, style or font from a URL, no separate .wasm.
    assert.doesNotMatch(html, /<script[^>]+src=/i);
    assert.doesNotMatch(html, /<link[^>]+href=["']?https?:/i);
    assert.doesNotMatch(html, /url\(\s*["']?https?:/i);
    assert.doesNotMatch(html, /["'][^"']*\.wasm["']/);
});

const viewports = [
    {name: 'desktop', viewport: {width: 1280, height: 900}},
    {name: 'phone', viewport: {width: 360, height: 800, isMobile: true, hasTouch: true}},
];

for (const v of viewports) {
    test(`the page opens ready on a ${v.name} (${v.viewport.width}x${v.viewport.height})`, async () => {
        const ctx = await openPage({viewport: v.viewport});
        try {
            assert.equal(await ctx.page.title(), '平曲线计算');
            assert.equal(await ctx.page.evaluate(() => document.documentElement.lang), 'zh-CN');
            assert.ok(ctx.readyMs > 0, `ready at ${ctx.readyMs} ms`);
            // Nothing needs sideways scrolling, in the view shown first nor in any other the top
            // bar's tabs show.
            const wider = () => ctx.page.evaluate(
                () => document.documentElement.scrollWidth - document.documentElement.clientWidth);
            const first = await wider();
            assert.ok(first <= 0, `the first view is ${first} px wider than the screen`);
            // The tabs seen at the start: the views' own tabs appear with their view.
            const tabs = [];
            for (const tab of await ctx.page.$$('[role="tab"]'))
                if (await tab.evaluate((t) => t.getClientRects().length > 0)) tabs.push(tab);
            for (const tab of tabs) {
                const name = await tab.evaluate((t) => t.textContent.trim());
                await tab.click();
                const overflow = await wider();
                assert.ok(overflow <= 0, `${name}: ${overflow} px wider than the screen`);
            }
            assert.deepEqual(ctx.errors, []);
            assertNoRequests(ctx);
        } finally {
            await closePage(ctx);
        }
    });
}
