// The site a phone installs the page from (build/web/site): its manifest and icons are what chromium
// takes for an installable app, its service worker registers and caches the page, and with the web
// server gone the page opens again and is ready. Served by python3's http.server on loopback.
import assert from 'node:assert/strict';
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';

import {closePage, openPage, repoRoot} from './harness.mjs';

const kSite = path.join(repoRoot, 'build/web/site');
const kPage = path.join(repoRoot, 'build/web/hcurve.html');

// A PNG's size from its header: the 8-byte signature, then the IHDR chunk's width and height.
function pngSize(file) {
    const bytes = fs.readFileSync(file);
    assert.deepEqual([...bytes.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a],
                     `${file} is no PNG`);
    assert.equal(bytes.toString('latin1', 12, 16), 'IHDR');
    return `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
}

test('the manifest names the page and icons that are there, of their sizes', () => {
    const manifest = JSON.parse(fs.readFileSync(path.join(kSite, 'manifest.webmanifest'), 'utf8'));
    assert.equal(manifest.short_name, '平曲线计算');
    assert.equal(manifest.lang, 'zh-CN');
    assert.equal(manifest.display, 'standalone');
    assert.ok(fs.existsSync(path.join(kSite, manifest.start_url)), manifest.start_url);
    const sizes = [];
    for (const icon of manifest.icons) {
        const file = path.join(kSite, icon.src);
        if (icon.type === 'image/png') {
            assert.equal(pngSize(file), icon.sizes, icon.src);
            sizes.push(Number(icon.sizes.split('x')[0]));
        } else {
            assert.equal(icon.type, 'image/svg+xml');
            assert.match(fs.readFileSync(file, 'utf8'), /<svg[\s>]/);
        }
    }
    // What a phone's home screen and its splash screen take.
    assert.ok(sizes.includes(192) && sizes.includes(512), `${sizes}`);
});

test('index.html is the built page with the site\'s links in its head, and nothing else changed',
     () => {
         const page = fs.readFileSync(kPage, 'utf8');
         const index = fs.readFileSync(path.join(kSite, 'index.html'), 'utf8');
         const head = fs.readFileSync(path.join(repoRoot, 'data/site/head.html'), 'utf8');
         const at = index.indexOf(head);
         assert.ok(at > 0, 'the head links are missing');
         assert.ok(at < index.indexOf('</head>'), 'the links are not in the head');
         assert.equal(index.slice(0, at) + index.slice(at + head.length), page);
         const worker = fs.readFileSync(path.join(kSite, 'sw.js'), 'utf8');
         assert.doesNotMatch(worker, /@[A-Z_]+@/, 'sw.js keeps a placeholder');
     });

// Serves the site on loopback on a port the system picks; resolves to {origin, stop()}.
function serve(dir) {
    return new Promise((resolve, reject) => {
        const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
                                         '--directory', dir],
                             {stdio: ['ignore', 'pipe', 'pipe']});
        let said = '';
        const timer = setTimeout(() => {
            server.kill();
            reject(new Error(`http.server did not start: ${said}`));
        }, 15000);
        server.on('error', reject);
        server.stdout.on('data', (chunk) => {
            said += chunk;
            const port = /port (\d+)/.exec(said);
            if (!port) return;
            clearTimeout(timer);
            const exited = new Promise((r) => server.once('exit', r));
            resolve({
                origin: `http://127.0.0.1:${port[1]}`,
                stop: () => {
                    if (server.exitCode === null) server.kill();
                    return exited;
                },
            });
        });
        server.stderr.resume();  // its request log
    });
}

test('from a web server the worker caches the page, which then opens without the server',
     async () => {
         const server = await serve(kSite);
         let ctx;
         try {
             ctx = await openPage({url: `${server.origin}/`});
             const {page} = ctx;
             // The worker has taken the page over once it is activated (clients.claim).
             await page.waitForFunction(() => navigator.serviceWorker.controller !== null,
                                        {timeout: 20000});
             const cached = await page.evaluate(async () => {
                 const names = await caches.keys();
                 const files = [];
                 for (const name of names)
                     for (const r of await (await caches.open(name)).keys())
                         files.push(new URL(r.url).pathname);
                 return {names, files: files.sort()};
             });
             assert.equal(cached.names.length, 1, JSON.stringify(cached.names));
             assert.deepEqual(cached.files, ['/icon-192.png', '/icon-512.png', '/icon.svg',
                                             '/index.html', '/manifest.webmanifest']);

             // Chromium's own reading of the manifest.
             const cdp = await page.createCDPSession();
             const manifest = await cdp.send('Page.getAppManifest');
             assert.equal(manifest.url, `${server.origin}/manifest.webmanifest`);
             assert.deepEqual(manifest.errors, []);

             // Everything the page asked for came from its own server.
             assert.ok(ctx.requests.length > 0);
             for (const url of ctx.requests)
                 assert.equal(new URL(url).origin, server.origin, url);

             await server.stop();
             // A reload asks the server again (no HTTP cache): only the worker can answer.
             await page.reload({waitUntil: 'load'});
             await page.waitForFunction(() => window.hcurveReady === true, {timeout: 30000});
             assert.equal(await page.title(), '平曲线计算');
             // And a fresh tab of the same browser, as a phone opens the installed app.
             const again = await ctx.context.newPage();
             await again.goto(`${server.origin}/index.html`, {waitUntil: 'load'});
             await again.waitForFunction(() => window.hcurveReady === true, {timeout: 30000});
         } finally {
             await closePage(ctx);
             await server.stop();
         }
     });
