// The route page's tools beyond its tables, as a user meets them: the chain breaks marked on the
// 平面图, the pointer's X (北) and Y (东) there (moved on a desktop, tapped on a phone), the rows of a
// table copied with Ctrl+C or 复制, the plan saved as a PNG picture, and 打印 of the table or drawing
// shown. Expected places come from the Linux build's stake table and from the JD table's own
// coordinates, never from the page.
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {assertNoRequests, closePage, downloadsTo, openPage, repoRoot} from './harness.mjs';
import {kLinux, kProfile, kRoute as kReadmeRoute, kSection} from './readme_route.mjs';

// The README's route with a long chain at K12+800 and a short one at K13+500.
const kRoute = kReadmeRoute + 'K13+500,K13+510\n';
// The JD1 of that table, metres.
const kJd1 = {x: 3456789.1230, y: 512345.6780};
// The same route without its chain breaks.
const kUnbroken = kRoute.slice(0, kRoute.indexOf('\n\n') + 1);

// Two surveyed ground sections.
const kGround = `桩号,偏距,高程
K11+600,-40,100.2
K11+600,0,100
K11+600,40,99.8
K11+700,-40,101
K11+700,0,101.2
K11+700,40,101.4
`;

let dir;
before(() => {
    assert.ok(fs.existsSync(kLinux), `the Linux build ${kLinux} is missing: cmake --build --preset default --target hcurve`);
    dir = fs.mkdtempSync(path.join(os.tmpdir(), 'hcurve-route-tools-'));
    fs.writeFileSync(path.join(dir, 'route.csv'), kRoute);
    fs.writeFileSync(path.join(dir, 'unbroken.csv'), kUnbroken);
    fs.writeFileSync(path.join(dir, 'profile.csv'), kProfile);
    fs.writeFileSync(path.join(dir, 'section.csv'), kSection);
    fs.writeFileSync(path.join(dir, 'ground.csv'), kGround);
    // K11+700 surveyed only 5 m to each side: it does not reach the formation's edges.
    fs.writeFileSync(path.join(dir, 'short.csv'), kGround.replace('K11+700,-40,101', 'K11+700,-5,101').replace('K11+700,40,101.4', 'K11+700,5,101.4'));
});
after(() => fs.rmSync(dir, {recursive: true, force: true}));

function linux(args) {
    const r = spawnSync(kLinux, ['route', ...args], {cwd: dir, encoding: 'utf8', maxBuffer: 1 << 30});
    assert.equal(r.status, 0, r.stderr);
    return r.stdout.split('\n').filter((l) => l !== '');
}

async function routePage(viewport) {
    const ctx = await openPage({viewport});
    await ctx.page.click('#views [data-view="route-page"]');
    return ctx;
}

async function openRoute(page, files) {
    const picker = await page.$('#route-page .route-open-input');
    await picker.uploadFile(...files.map((f) => path.join(dir, f)));
    await page.waitForFunction((n) => document.querySelectorAll('#route-page .route-table[data-table="elements"] .vt-row').length >= n, {}, 4);
}

async function tab(page, id) {
    await page.click(`#route-page .route-tabs [data-tab="${id}"]`);
}

async function computeStakes(page, values) {
    await tab(page, 'stakes');
    for (const [name, value] of Object.entries(values)) {
        await page.$eval(`#route-stake-form input[name="${name}"]`, (input) => { input.value = ''; });
        await page.type(`#route-stake-form input[name="${name}"]`, value);
    }
    await page.click('#route-page .route-compute');
    await page.waitForFunction(() => document.querySelectorAll('#route-page .route-table[data-table="stakes"] .vt-row').length > 0);
}

// The plan's chain breaks: each stroke's ends and its text, in the picture's units, with the
// corner the picture states.
async function planBreaks(page) {
    return page.$eval('#route-page .plan-drawing svg', (svg) => {
        const strokes = svg.querySelector('.chain-breaks .break-strokes');
        const ends = strokes ? strokes.getAttribute('d').split('M').filter((m) => m !== '').map((m) => m.split('L').map((p) => p.split(' ').map(Number))) : [];
        return {
            north: Number(svg.dataset.north),
            west: Number(svg.dataset.west),
            ends,
            texts: [...svg.querySelectorAll('.chain-breaks text')].map((t) => t.textContent),
        };
    });
}

test('the plan marks each chain break across the centre line where the stake table has it', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        await openRoute(page, ['route.csv']);
        await tab(page, 'plan');
        const drawn = await planBreaks(page);
        // Each break's text: both chainages as the file gives them, and the chain's kind and length
        // (K12+800 = K12+780: 20 m of road counted twice, a long chain; K13+500 = K13+510: 10 m
        // never counted, a short one).
        assert.deepEqual(drawn.texts, ['断链 K12+800.000=K12+780.000 长链 20.000 m',
                                       '断链 K13+500.000=K13+510.000 短链 10.000 m']);
        // Where the Linux stake table puts each break: its two rows at one 里程, the first with the
        // chainage before the break. The stroke's middle lies there, across the centre line through
        // the stakes on either side.
        const stakes = linux(['route.csv', '--stakes', '--interval', '20']).slice(1).map((l) => l.split(','));
        for (const [k, before] of [[0, 'K12+800.000'], [1, 'K13+500.000']]) {
            const at = stakes.findIndex((r, i) => r[1] === before && stakes[i + 1] && stakes[i + 1][2] === r[2]);
            assert.ok(at > 0, `no rows of the break ${before}`);
            const [[u1, v1], [u2, v2]] = drawn.ends[k];
            const middle = {x: drawn.north - (v1 + v2) / 2, y: drawn.west + (u1 + u2) / 2};
            assert.ok(Math.abs(middle.x - Number(stakes[at][3])) < 0.002, `${before}: X ${middle.x} against ${stakes[at][3]}`);
            assert.ok(Math.abs(middle.y - Number(stakes[at][4])) < 0.002, `${before}: Y ${middle.y} against ${stakes[at][4]}`);
            const ahead = stakes[at + 2], behind = stakes[at - 1];
            const along = {x: Number(ahead[3]) - Number(behind[3]), y: Number(ahead[4]) - Number(behind[4])};
            const across = {x: -(v2 - v1), y: u2 - u1};
            const cos = (along.x * across.x + along.y * across.y) / Math.hypot(along.x, along.y) / Math.hypot(across.x, across.y);
            assert.ok(Math.abs(cos) < 0.01, `${before}: the stroke is not across the road (cos ${cos})`);
        }
        // A route without breaks has no marks.
        await openRoute(page, ['unbroken.csv']);
        await page.waitForFunction(() => document.querySelector('#route-page .route-files').textContent === '文件：unbroken.csv');
        await tab(page, 'plan');
        assert.deepEqual((await planBreaks(page)).texts, []);
        assert.deepEqual(ctx.errors, []);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

// Where JD1 of the tangent polygon is on the screen, and how many metres a screen pixel is.
async function jd1OnScreen(page) {
    return page.$eval('#route-page .plan-drawing svg', (svg) => {
        const [u, v] = svg.querySelector('.tangents').getAttribute('points').trim().split(' ').slice(2, 4).map(Number);
        const at = new DOMPoint(u, v).matrixTransform(svg.getScreenCTM());
        const box = svg.viewBox.baseVal, rect = svg.getBoundingClientRect();
        return {x: at.x, y: at.y, metresPerPixel: Math.max(box.width / rect.width, box.height / rect.height)};
    });
}

const kPointText = /^X \(北\) = (\d+\.\d{3}) {4}Y \(东\) = (\d+\.\d{3})$/;
async function pointText(page) {
    return page.$eval('#route-page .plan-coordinates', (s) => s.textContent);
}
function assertNearJd1(text, metresPerPixel) {
    const m = kPointText.exec(text);
    assert.ok(m, `the coordinates read "${text}"`);
    // The pointer's pixel (a screen pixel either way: the pointer stands on whole pixels), and the
    // half millimetre of the text's rounding.
    const slack = 2 * metresPerPixel + 0.0005;
    assert.ok(Math.abs(Number(m[1]) - kJd1.x) <= slack, `X ${m[1]} is not JD1's ${kJd1.x} (±${slack})`);
    assert.ok(Math.abs(Number(m[2]) - kJd1.y) <= slack, `Y ${m[2]} is not JD1's ${kJd1.y} (±${slack})`);
}

test('the pointer on the plan shows its X (北) and Y (东), also zoomed in; a tap on a phone too', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        await openRoute(page, ['route.csv']);
        await tab(page, 'plan');
        assert.equal(await pointText(page), '');
        let jd1 = await jd1OnScreen(page);
        assert.ok(jd1.metresPerPixel > 1, `${jd1.metresPerPixel} m a pixel`);
        await page.mouse.move(jd1.x, jd1.y);
        assertNearJd1(await pointText(page), jd1.metresPerPixel);
        await page.screenshot({path: path.join(repoRoot, 'docs/web-route-plan-tools-1280x900.png')});
        // Zoomed in about the pointer until a pixel is a few millimetres: JD1 stays under it (the
        // wheel zooms about the pointer, as in the window) within the first pixel's metres.
        // (The wheel's own position is a whole pixel: the point under it is taken after its first
        // notch.)
        await page.mouse.wheel({deltaY: -100});
        const before = kPointText.exec(await pointText(page)).slice(1).map(Number);
        for (let k = 1; k < 28; ++k) {
            await page.mouse.wheel({deltaY: -100});
        }
        jd1 = await jd1OnScreen(page);
        assert.ok(jd1.metresPerPixel < 0.01, `${jd1.metresPerPixel} m a pixel`);
        const zoomed = kPointText.exec(await pointText(page)).slice(1).map(Number);
        assert.ok(Math.abs(zoomed[0] - before[0]) < 0.002 && Math.abs(zoomed[1] - before[1]) < 0.002,
                  `the point under the pointer moved from ${before} to ${zoomed} while zooming in about it`);
        await page.mouse.move(jd1.x + 3, jd1.y + 3);
        await page.mouse.move(jd1.x, jd1.y);
        assertNearJd1(await pointText(page), jd1.metresPerPixel);
        // Leaving the drawing clears them.
        await page.mouse.move(5, 5);
        assert.equal(await pointText(page), '');
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
    const phone = await routePage({width: 360, height: 800, isMobile: true, hasTouch: true});
    try {
        await openRoute(phone.page, ['route.csv']);
        await tab(phone.page, 'plan');
        const jd1 = await jd1OnScreen(phone.page);
        await phone.page.touchscreen.tap(jd1.x, jd1.y);
        assertNearJd1(await pointText(phone.page), jd1.metresPerPixel);
        await phone.page.screenshot({path: path.join(repoRoot, 'docs/web-route-plan-tools-360x800.png')});
        const overflow = await phone.page.evaluate(() => document.documentElement.scrollWidth - document.documentElement.clientWidth);
        assert.ok(overflow <= 0, `${overflow} px wider than the screen`);
        const low = await phone.page.$$eval('#route-page .route-panel[data-panel="plan"] button', (b) =>
            b.filter((c) => c.getBoundingClientRect().height < 40).map((c) => c.textContent));
        assert.deepEqual(low, []);
        assertNoRequests(phone);
    } finally {
        await closePage(phone);
    }
});

// What the page put on the clipboard, as the copy events carried it.
async function watchCopies(page) {
    await page.evaluate(() => {
        window.copies = [];
        window.addEventListener('copy', (event) => window.copies.push(event.clipboardData.getData('text/plain')));
    });
}
const copies = (page) => page.evaluate(() => window.copies);
const tsv = (csvLines) => csvLines.map((l) => l.split(',').join('\t')).join('\n') + '\n';
const rowOf = (table, r) => `#route-page .route-table[data-table="${table}"] .vt-row[data-row="${r}"]`;

test('Ctrl+C and 复制 copy the selected rows, or the whole table, with the header as tab-separated text', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        await openRoute(page, ['route.csv']);
        await watchCopies(page);
        await computeStakes(page, {interval: '20', from: 'K12+700', to: 'K12+900', left: '5,2.5', right: '5'});
        const stakes = linux(['route.csv', '--stakes', '--interval', '20', '--from', 'K12+700', '--to', 'K12+900', '--left', '5,2.5', '--right', '5']);
        // Rows 1 to 3 by a click and a Shift+click, then row 5 added by Ctrl+click.
        await page.click(rowOf('stakes', 1));
        await page.keyboard.down('Shift');
        await page.click(rowOf('stakes', 3));
        await page.keyboard.up('Shift');
        await page.keyboard.down('Control');
        await page.click(rowOf('stakes', 5));
        await page.keyboard.press('KeyC');
        await page.keyboard.up('Control');
        const selected = await page.$$eval('#route-page .route-table[data-table="stakes"] .vt-row[aria-selected="true"]', (r) => r.map((x) => Number(x.dataset.row)));
        assert.deepEqual(selected, [1, 2, 3, 5]);
        assert.deepEqual(await copies(page), [tsv([stakes[0], stakes[2], stakes[3], stakes[4], stakes[6]])]);
        // 复制 copies the same; with no row selected (a new table) the whole table.
        await page.click('#route-page .route-panel[data-panel="stakes"] .table-copy');
        assert.equal((await copies(page))[1], (await copies(page))[0]);
        assert.equal(await page.$eval('#route-page .route-panel[data-panel="stakes"] .table-copied', (s) => s.textContent), '已复制 4 行。');
        await tab(page, 'elements');
        await page.click('#route-page .route-panel[data-panel="elements"] .table-copy');
        assert.equal((await copies(page))[2], tsv(linux(['route.csv', '--elements'])));
        // Ctrl+A then Ctrl+C in the element table: every row again.
        await page.focus('#route-page .route-table[data-table="elements"]');
        await page.keyboard.down('Control');
        await page.keyboard.press('KeyA');
        await page.keyboard.press('KeyC');
        await page.keyboard.up('Control');
        assert.equal((await copies(page))[3], (await copies(page))[2]);
        assert.deepEqual(ctx.errors, []);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

test('on a phone a tap adds a row or takes it away, and 复制 copies the rows tapped', async () => {
    const ctx = await routePage({width: 360, height: 800, isMobile: true, hasTouch: true});
    const {page} = ctx;
    try {
        await openRoute(page, ['route.csv']);
        await watchCopies(page);
        await computeStakes(page, {interval: '50', from: '', to: '', left: '', right: '7.5'});
        const stakes = linux(['route.csv', '--stakes', '--interval', '50', '--right', '7.5']);
        for (const r of [0, 2, 3, 2]) await page.tap(rowOf('stakes', r));
        await page.tap('#route-page .route-panel[data-panel="stakes"] .table-copy');
        assert.deepEqual(await copies(page), [tsv([stakes[0], stakes[1], stakes[4]])]);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

// A PNG file's width and height (its IHDR chunk).
function pngSize(bytes) {
    assert.deepEqual([...bytes.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
    return {width: bytes.readUInt32BE(16), height: bytes.readUInt32BE(20)};
}

test('保存平面图 saves the plan as seen as a PNG picture under the window\'s name', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        await openRoute(page, ['route.csv']);
        await computeStakes(page, {interval: '20', from: '', to: '', left: '5', right: '5'});
        await tab(page, 'plan');
        const downloads = await downloadsTo(page, path.join(dir, 'png'));
        await page.click('#route-page .plan-save');
        await page.waitForSelector('#file-dialog[open]');
        assert.equal(await page.$eval('#file-name', (i) => i.value), 'route-平面图.png');
        assert.deepEqual(await page.$$eval('#file-type option', (o) => o.map((x) => x.textContent)),
                         ['PNG 图片 (*.png)', 'SVG 图形 (*.svg)', '平面图 DXF，供 CAD 使用 (*.dxf)']);
        await page.click('#file-dialog .dialog-ok');
        const saved = await downloads.next(20000);
        assert.equal(path.basename(saved), 'route-平面图.png');
        const bytes = fs.readFileSync(saved);
        const size = pngSize(bytes);
        const box = await page.$eval('#route-page .plan-drawing svg', (s) => { const r = s.getBoundingClientRect(); return {width: r.width, height: r.height}; });
        // Larger than on the screen (3000 pixels across the longer side), in the drawing's shape.
        assert.equal(Math.max(size.width, size.height), 3000);
        assert.ok(Math.abs(size.width / size.height - box.width / box.height) < 0.01, `${size.width}x${size.height} against ${box.width}x${box.height}`);
        // What the picture shows: mostly white paper, the red centre line, the purple chain break.
        const inks = await page.evaluate(async (base64) => {
            const blob = new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], {type: 'image/png'});
            const image = await createImageBitmap(blob);
            const canvas = document.createElement('canvas');
            canvas.width = image.width;
            canvas.height = image.height;
            const context = canvas.getContext('2d');
            context.drawImage(image, 0, 0);
            const data = context.getImageData(0, 0, image.width, image.height).data;
            const count = {white: 0, red: 0, purple: 0, all: image.width * image.height};
            for (let i = 0; i < data.length; i += 4) {
                const [r, g, b] = [data[i], data[i + 1], data[i + 2]];
                if (r > 245 && g > 245 && b > 245) ++count.white;
                else if (r > 150 && g < 60 && b < 60) ++count.red;
                else if (r > 120 && g < 60 && b > 120) ++count.purple;
            }
            return count;
        }, bytes.toString('base64'));
        assert.ok(inks.white > inks.all * 0.8, JSON.stringify(inks));
        assert.ok(inks.red > 1000, JSON.stringify(inks));
        assert.ok(inks.purple > 50, JSON.stringify(inks));
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

test('打印 puts the whole table, or the drawing as seen, on A4 across and opens the print dialog', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        await openRoute(page, ['route.csv']);
        await page.evaluate(() => { window.printed = []; window.print = () => window.printed.push(document.title); });
        await computeStakes(page, {interval: '5', from: '', to: '', left: '', right: ''});
        const stakes = linux(['route.csv', '--stakes', '--interval', '5']);
        await page.click('#route-page .route-panel[data-panel="stakes"] .table-print');
        assert.deepEqual(await page.evaluate(() => window.printed), ['route-中桩表']);
        const printed = await page.$eval('#print-view', (v) => ({
            title: v.querySelector('h1').textContent,
            header: [...v.querySelectorAll('thead th')].map((t) => t.textContent).join(','),
            rows: [...v.querySelectorAll('tbody tr')].map((r) => [...r.cells].map((c) => c.textContent).join(',')),
        }));
        assert.equal(printed.title, '中桩表');
        assert.equal(printed.header, stakes[0]);
        assert.deepEqual(printed.rows, stakes.slice(1));
        // The pages as the print dialog makes them: A4 across (297 x 210 mm in points), the header
        // repeated on each.
        const pdfPath = path.join(dir, 'printed.pdf');
        fs.writeFileSync(pdfPath, await page.pdf({preferCSSPageSize: true}));
        const info = execFileSync('pdfinfo', ['-l', '1000', pdfPath], {encoding: 'utf8'});
        const boxes = [...info.matchAll(/^Page +\d+ size: +([\d.]+) x ([\d.]+) pts/gm)].map((m) => [Number(m[1]), Number(m[2])]);
        assert.ok(boxes.length > 1, `${boxes.length} pages`);
        for (const [w, h] of boxes) {
            assert.ok(Math.abs(w - 297 / 25.4 * 72) < 1 && Math.abs(h - 210 / 25.4 * 72) < 1, `a page of ${w} x ${h} pt`);
        }

        await tab(page, 'plan');
        await page.click('#route-page .plan-print');
        assert.deepEqual(await page.evaluate(() => window.printed), ['route-中桩表', 'route-平面图']);
        assert.equal(await page.$eval('#print-view h1', (h) => h.textContent), '平面图');
        assert.equal(await page.$$eval('#print-view svg .chain-breaks text', (t) => t.length), 2);
        assert.equal(await page.$eval('#print-view svg', (s) => s.getAttribute('viewBox')),
                     await page.$eval('#route-page .plan-drawing svg', (s) => s.getAttribute('viewBox')));
        assert.deepEqual(ctx.errors, []);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

test('横断面 draws the section at a surveyed stake as the sheets draw it, with the earthwork table\'s areas', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        const files = ['unbroken.csv', 'profile.csv', 'section.csv', 'ground.csv'];
        await openRoute(page, files);
        await tab(page, 'sections');
        // The stakes offered: those of the earthwork table, the ground's sections.
        const earthwork = linux([...files, '--earthwork']).slice(1).map((l) => l.split(',')).filter((r) => r[1] !== '');
        assert.deepEqual(await page.$$eval('#route-page .cross-stake option', (o) => o.map((x) => x.value)), earthwork.map((r) => r[0]));
        const drawnTexts = () => page.$$eval('#route-page .cross-drawing svg text', (t) => t.map((x) => x.textContent));
        const sections = linux([...files, '--sections', '--interval', '100', '--from', 'K11+600', '--to', 'K11+600']).slice(1).map((l) => l.split(','));
        for (const [k, r] of earthwork.entries()) {
            if (k > 0) await page.select('#route-page .cross-stake', r[0]);
            const texts = await drawnTexts();
            assert.ok(texts.includes(r[0]), texts.join(' | '));
            assert.ok(texts.includes(`填方面积 ${r[2]} m²`), texts.join(' | '));
            assert.ok(texts.includes(`挖方面积 ${r[3]} m²`), texts.join(' | '));
            assert.equal(texts.filter((t) => t === '坡脚').length, 2);
        }
        // K11+600 again: the centre 4 m above the ground surveyed at offset 0 (104.000, the
        // section's 中桩, against 100.000), and the formation's break points in the band as the
        // 横断面 table lists them.
        await page.select('#route-page .cross-stake', 'K11+600.000');
        const texts = await drawnTexts();
        const centre = sections.find((r) => r[1] === '中桩');
        assert.equal(centre[3], '104.0000');
        assert.ok(texts.includes('填高 4.000 m'), texts.join(' | '));
        const formation = sections.filter((r) => Math.abs(Number(r[2])) <= 11.75);
        assert.ok(formation.length >= 7, formation.join(' | '));
        for (const r of formation) {
            assert.ok(texts.includes(Number(r[2]).toFixed(3)) && texts.includes(Number(r[3]).toFixed(3)), `${r.join(',')} not in the band`);
        }
        // 打印 prints the drawing as seen.
        await page.evaluate(() => { window.printed = []; window.print = () => window.printed.push(document.title); });
        await page.click('#route-page .cross-print');
        assert.deepEqual(await page.evaluate(() => window.printed), ['unbroken-横断面图 K11+600.000']);
        assert.ok((await page.$$eval('#print-view svg text', (t) => t.map((x) => x.textContent))).includes('填高 4.000 m'));
        await page.screenshot({path: path.join(repoRoot, 'docs/web-route-section-1280x900.png')});

        // A section the design does not meet says why where it would be drawn, in the words
        // the earthwork table gives on the command line.
        await openRoute(page, ['unbroken.csv', 'profile.csv', 'section.csv', 'short.csv']);
        await page.waitForFunction(() => document.querySelector('#route-page .route-files').textContent.endsWith('short.csv'));
        await tab(page, 'sections');
        await page.select('#route-page .cross-stake', 'K11+700.000');
        const why = await page.$eval('#route-page .cross-drawing .cross-why', (p) => p.textContent);
        const refused = spawnSync(kLinux, ['route', 'unbroken.csv', 'profile.csv', 'section.csv', 'short.csv', '--earthwork'], {cwd: dir, encoding: 'utf8'});
        assert.equal(refused.status, 1);
        assert.equal(why, 'short.csv: 第 5 行：K11+700.000：地面线没有测到左侧路基边缘（偏距 -11.750）。');
        assert.equal(why, refused.stderr.trim());

        // Without ground there is no drawing, only the table.
        await openRoute(page, ['unbroken.csv', 'profile.csv', 'section.csv']);
        await page.waitForFunction(() => document.querySelector('#route-page .route-files').textContent === '文件：unbroken.csv, profile.csv, section.csv');
        assert.equal(await page.$eval('#route-page .cross-tools', (b) => b.hidden), true);
        assert.equal(await page.$eval('#route-page .cross-drawing', (d) => d.hidden), true);
        assert.deepEqual(ctx.errors, []);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});
