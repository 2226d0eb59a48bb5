// The harness's own promises, on small pages of the test's making: a request beyond the page is
// counted (a counter that never counts would pass every "no request" test), the page's own file
// and data:/blob: URLs are not, downloads land under their names with their bytes, and a page that
// never says it is ready is reported rather than waited for forever.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import {test} from 'node:test';

import {assertNoRequests, browserName, closePage, downloadsTo, openPage} from './harness.mjs';

function scratchPage(name, body) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'hcurve-harness-'));
    const file = path.join(dir, name);
    fs.writeFileSync(file, `<!DOCTYPE html><html><head><meta charset="utf-8"></head><body>${body}</body></html>`);
    return {dir, file};
}

// A loopback port just closed: the request fails, but it was made. (Not the discard port 9, which
// Firefox refuses before making any request, as a port no page may reach.)
async function closedPort() {
    const server = net.createServer();
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    const {port} = server.address();
    await new Promise((resolve) => server.close(resolve));
    return port;
}
const away = `127.0.0.1:${await closedPort()}`;
const cases = [
    {name: 'an image from elsewhere', body: `<img src="http://${away}/icon.png">`,
     expected: [`http://${away}/icon.png`]},
    {name: 'a script fetch', body: `<script>fetch("http://${away}/data.json").catch(() => {});</script>`,
     expected: [`http://${away}/data.json`]},
    {name: 'a web socket', body: `<script>try { new WebSocket("ws://${away}/live"); } catch (e) {}</script>`,
     expected: [`ws://${away}/live`]},
    {name: 'data: and blob: URLs and the page itself with a fragment',
     body: '<img src="data:image/gif;base64,R0lGODlhAQABAAAAACw="><script>' +
           'const u = URL.createObjectURL(new Blob(["x"])); fetch(u);' +
           'fetch(location.href.split("#")[0] + "#again");</script>',
     expected: []},
];

for (const c of cases) {
    test(`requests: ${c.name}`, async () => {
        const {dir, file} = scratchPage('page.html', c.body + '<script>window.hcurveReady = true;</script>');
        const ctx = await openPage({file});
        try {
            // Give the page's requests time to be sent after load.
            await new Promise((resolve) => setTimeout(resolve, 300));
            assert.deepEqual([...ctx.requests].sort(), c.expected);
            if (c.expected.length === 0)
                assertNoRequests(ctx);
            else
                assert.throws(() => assertNoRequests(ctx), /network requests/);
        } finally {
            await closePage(ctx);
            fs.rmSync(dir, {recursive: true, force: true});
        }
    });
}

test('a page that never sets hcurveReady is reported, and waitReady: false does not wait', async () => {
    const {dir, file} = scratchPage('never.html', '<p>loading</p><script>throw new Error("boom")</script>');
    try {
        const ctx = await openPage({file, waitReady: false});
        try {
            assert.ok(Number.isNaN(ctx.readyMs));
            assert.match(ctx.errors.join('\n'), /boom/);
        } finally {
            await closePage(ctx);
        }
        // The ready wait itself is the harness's 30 s; a shorter page-side check keeps this quick:
        // the flag is read as the predicate reads it.
        const again = await openPage({file, waitReady: false});
        try {
            assert.equal(await again.page.evaluate(() => window.hcurveReady === true), false);
        } finally {
            await closePage(again);
        }
    } finally {
        fs.rmSync(dir, {recursive: true, force: true});
    }
});

test('downloads land under their names with their bytes, in order', async () => {
    const texts = ['桩号,X,Y\r\n', 'K0+000.000\t1.000\n'];
    const {dir, file} = scratchPage('download.html', `<script>
        window.save = (name, text) => {
            const a = document.createElement('a');
            a.href = URL.createObjectURL(new Blob([text], {type: 'application/octet-stream'}));
            a.download = name;
            document.body.appendChild(a);
            a.click();
            a.remove();
        };
        window.hcurveReady = true;</script>`);
    const ctx = await openPage({file});
    try {
        const downloads = await downloadsTo(ctx.page, path.join(dir, 'downloads'));
        await ctx.page.evaluate((t) => window.save('中桩坐标.csv', t), texts[0]);
        const first = await downloads.next();
        await ctx.page.evaluate((t) => window.save('plan.dat', t), texts[1]);
        const second = await downloads.next();
        assert.equal(path.basename(first), '中桩坐标.csv');
        assert.equal(path.basename(second), 'plan.dat');
        assert.deepEqual(fs.readFileSync(first), Buffer.from(texts[0], 'utf8'));
        assert.deepEqual(fs.readFileSync(second), Buffer.from(texts[1], 'utf8'));
        await assert.rejects(downloads.next(300), /no download completed/);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
        fs.rmSync(dir, {recursive: true, force: true});
    }
});

test('the page is opened in the browser HCURVE_BROWSER names', async () => {
    const {dir, file} = scratchPage('which.html', '<script>window.hcurveReady = true;</script>');
    const ctx = await openPage({file});
    try {
        const agent = await ctx.page.evaluate(() => navigator.userAgent);
        if (browserName === 'firefox')
            assert.match(agent, / Firefox\/\d+/);
        else
            assert.match(agent, /Chrome\/\d+/);
        assert.equal(/Firefox/.test(agent), browserName === 'firefox', agent);
    } finally {
        await closePage(ctx);
        fs.rmSync(dir, {recursive: true, force: true});
    }
});
