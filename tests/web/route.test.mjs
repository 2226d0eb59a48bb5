// The route page as a user meets it: the README's route with its grade line and cross-fall opened
// from the file picker, the tables as `hcurve route` lists them, the stakes of a stretch, every
// download byte for byte what the Linux build writes for the same files, a point located, bad
// files refused with the desktop's words and nothing of the route shown lost; on a desktop and on
// a phone, without a single request.
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {assertNoRequests, closePage, downloadsTo, openPage, repoRoot, screenshotPath} from './harness.mjs';
import {kCrossFall, kLinux, kProfile, kRoute, kSection} from './readme_route.mjs';

const kFiles = ['route.csv', 'profile.csv', 'crossfall.csv'];
const kStretch = {interval: '20', from: 'K12+500', to: 'K12+820', left: '5,2.5', right: '5'};
const kStakeOptions = ['--interval', '20', '--from', 'K12+500', '--to', 'K12+820', '--left', '5,2.5',
    '--right', '5'];

let dir;
before(() => {
    assert.ok(fs.existsSync(kLinux), `the Linux build ${kLinux} is missing: cmake --build --preset default --target hcurve`);
    dir = fs.mkdtempSync(path.join(os.tmpdir(), 'hcurve-route-page-'));
    fs.writeFileSync(path.join(dir, 'route.csv'), kRoute);
    fs.writeFileSync(path.join(dir, 'profile.csv'), kProfile);
    fs.writeFileSync(path.join(dir, 'crossfall.csv'), kCrossFall);
    fs.writeFileSync(path.join(dir, 'section.csv'), kSection);
    // A broken JD table: JD1's X is no number.
    fs.writeFileSync(path.join(dir, 'broken.csv'), kRoute.replace('3456789.1230', '34567x9.1230'));
    // The route with Chinese point names, saved as a Chinese spreadsheet saves it (GBK).
    const named = kRoute.replace('JD1,', '交点一,').replace('JD2,', '交点二,');
    fs.writeFileSync(path.join(dir, 'gbk.csv'), execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GBK'], {input: named}));
    // A LandXML file cut off in the middle of an element.
    fs.writeFileSync(path.join(dir, 'broken.xml'),
        '<?xml version="1.0" encoding="UTF-8"?>\n<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2">\n' +
        '<Alignments><Alignment name="A" length="100" staStart="0"><CoordGeom><Line><Start>0 0</Start>');
    // Surveyed points to locate, with their H; one far from the road, and a file with a Y that
    // is no number.
    fs.writeFileSync(path.join(dir, 'points.csv'), '点名,X,Y,H\nS1,3456906,512800,108\nS2,3456300,511850,\n远点,3457000,511000,100\n');
    fs.writeFileSync(path.join(dir, 'badpoints.csv'), '点名,X,Y\nS1,3456906,512800\nS2,3456300,51l850\n');
    fs.mkdirSync(path.join(dir, '资料'));
    // A JD whose name is markup: shown as text in the plan, never made an element.
    fs.writeFileSync(path.join(dir, 'markup.csv'), kRoute.replace('JD1,', '<i>JD1&amp;</i>,'));
});
after(() => fs.rmSync(dir, {recursive: true, force: true}));

// The Linux build on the same files, from their folder: its status, output and error stream.
function linux(args) {
    const r = spawnSync(kLinux, ['route', ...args], {cwd: dir, encoding: 'buffer', maxBuffer: 1 << 30});
    return {status: r.status, out: r.stdout, err: r.stderr.toString('utf8')};
}
const lines = (buffer) => buffer.toString('utf8').split('\n').filter((l) => l !== '');
// The error stream as the window words it: without the program's name before each line.
const worded = (err) => err.split('\n').filter((l) => l !== '').map((l) => l.replace(/^hcurve: /, '')).join('\n');

async function routePage(viewport) {
    const ctx = await openPage({viewport});
    await ctx.page.click('#views [data-view="route-page"]');
    return ctx;
}

async function openRoute(page, files, input = '.route-open-input') {
    const picker = await page.$(`#route-page ${input}`);
    await picker.uploadFile(...files.map((f) => path.join(dir, f)));
}

// The rows a table shows now, each as its CSV line, with its row number.
async function shownRows(page, table) {
    return page.$$eval(`#route-page .route-table[data-table="${table}"] .vt-row`, (rows) =>
        rows.map((r) => ({row: Number(r.dataset.row), line: [...r.children].map((c) => c.textContent).join(',')})));
}

async function tab(page, caption) {
    const tabs = await page.$$('#route-page .route-tabs button');
    for (const t of tabs) {
        if ((await t.evaluate((b) => b.textContent)) === caption && !(await t.evaluate((b) => b.hidden))) {
            await t.click();
            return;
        }
    }
    throw new Error(`no tab ${caption}`);
}

async function fillForm(page, values) {
    for (const [name, value] of Object.entries(values)) {
        await page.$eval(`#route-stake-form input[name="${name}"]`, (input) => { input.value = ''; });
        await page.type(`#route-stake-form input[name="${name}"]`, value);
    }
}

// The message dialog's text once it opens, closed with Enter.
async function messageText(page) {
    await page.waitForSelector('#message-dialog[open]');
    const text = await page.$eval('#message-dialog .dialog-message', (m) => m.textContent);
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !document.querySelector('#message-dialog[open]'));
    return text;
}

async function waitRows(page, table, count) {
    await page.waitForFunction((t, n) => {
        const rows = document.querySelectorAll(`#route-page .route-table[data-table="${t}"] .vt-row`);
        return rows.length >= n;
    }, {}, table, count);
}

// The save dialog: the type chosen by its caption, the name proposed kept; the download's path.
async function download(page, downloads, button, typeCaption) {
    await page.click(button);
    await page.waitForSelector('#file-dialog[open]');
    const proposed = await page.$eval('#file-name', (i) => i.value);
    await page.$eval('#file-type', (select, caption) => {
        const option = [...select.options].find((o) => o.textContent === caption);
        select.value = option.value;
    }, typeCaption);
    await page.click('#file-dialog .dialog-ok');
    return {proposed, path: await downloads.next(20000)};
}

test('the README route on a desktop: tables, stakes, downloads, a located point, refused files', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        await openRoute(page, kFiles);
        await waitRows(page, 'elements', 4);
        assert.equal(await page.$eval('#route-page .route-files', (e) => e.textContent),
                     '文件：route.csv, profile.csv, crossfall.csv');

        // The element table: each row as --elements lists it; JD1's as the README prints it, and
        // the leg BP-JD1 (交点间距 of JD1) the distance between their coordinates.
        const elements = lines(linux([...kFiles, '--elements']).out);
        assert.deepEqual((await shownRows(page, 'elements')).map((r) => r.line), elements.slice(1));
        const jd1 = (await shownRows(page, 'elements'))[1].line.split(',');
        assert.equal(jd1.join(','), 'JD1,12345.6780,3456789.1230,512345.6780,30.1530,500.0000,200.0000,250.0000,' +
            '80.0000,125.0000,176.8435,196.4784,366.5538,22.8893,6.7681,12168.8345,12248.8345,12329.6114,' +
            '12410.3883,12535.3883,1000.0000,75.4545,823.1565');
        const leg = Math.hypot(3456789.1230 - 3456088.2656, 512345.6780 - 511632.3766);
        assert.equal(jd1[20], leg.toFixed(4));
        const headers = await page.$$eval('#route-page .route-tabs button:not([hidden])', (b) => b.map((x) => x.textContent));
        assert.deepEqual(headers, ['曲线要素表', '线元表', '中桩表', '平面图', '竖曲线表', '纵断面图', '坐标反算']);

        await tab(page, '竖曲线表');
        const vertical = lines(linux([...kFiles, '--vertical']).out);
        assert.deepEqual((await shownRows(page, 'vertical')).map((r) => r.line), vertical.slice(1));

        // The stakes of a stretch with two side points on the left and one on the right.
        await tab(page, '中桩表');
        await fillForm(page, kStretch);
        await page.click('#route-page .route-compute');
        const stakes = linux([...kFiles, '--stakes', ...kStakeOptions]);
        const stakeLines = lines(stakes.out);
        await waitRows(page, 'stakes', 5);
        const shown = await shownRows(page, 'stakes');
        for (const r of shown) assert.equal(r.line, stakeLines[r.row + 1], `row ${r.row}`);
        assert.equal(shown[0].row, 0);
        assert.deepEqual(await page.$$eval('#route-page .route-table[data-table="stakes"] .vt-head div', (d) => d.map((x) => x.textContent)),
                         stakeLines[0].split(','));
        // The README's stake at the break: K12+800 before it and K12+780 after it at one 里程.
        assert.ok(stakeLines.some((l) => l.startsWith(',K12+800.000,12800.0000,3456902.5243,512792.6055,')));
        assert.ok(stakeLines.some((l) => l.startsWith(',K12+780.000,12800.0000,3456902.5243,512792.6055,')));
        await page.screenshot({path: screenshotPath('web-route-1280x900.png')});

        // Every download as the Linux build writes it for the same files and options.
        const downloads = await downloadsTo(page, path.join(dir, 'downloads'));
        const exports = [
            ['CSV 表格 (*.csv)', 'route-中桩坐标.csv', ['--stakes', ...kStakeOptions, '--out', 'linux.csv']],
            ['点文件 name,code,Y,X,H (*.dat)', 'route-中桩坐标.dat', ['--stakes', ...kStakeOptions, '--out', 'linux.dat']],
            ['全站仪点文件 Leica GSI-16 (*.gsi)', 'route-中桩坐标.gsi', ['--stakes', ...kStakeOptions, '--out', 'linux.gsi']],
            ['平面图 DXF，供 CAD 使用 (*.dxf)', 'route-中桩坐标.dxf', ['--dxf', 'linux.dxf', ...kStakeOptions]],
            ['LandXML 1.2 路线 (*.xml)', 'route-中桩坐标.xml', ['--landxml', 'linux.xml']],
        ];
        for (const [caption, name, args] of exports) {
            const got = await download(page, downloads, '#route-page .route-export', caption);
            assert.equal(got.proposed, 'route-中桩坐标.csv');
            assert.equal(path.basename(got.path), name);
            const written = linux([...kFiles, ...args]);
            assert.equal(written.status, 0, written.err);
            const target = args.includes('--out') ? args[args.indexOf('--out') + 1] : args[1];
            let expected = fs.readFileSync(path.join(dir, target));
            let actual = fs.readFileSync(got.path);
            if (name.endsWith('.xml')) {
                // The moment each was written is the one thing that differs.
                const stamp = (b) => b.toString('utf8').replace(/ date="[^"]*" time="[^"]*"/, ' date="" time=""');
                assert.match(actual.toString('utf8'), / date="\d{4}-\d\d-\d\d" time="\d\d:\d\d:\d\d"/);
                expected = stamp(expected);
                actual = stamp(actual);
            }
            assert.ok(Buffer.isBuffer(expected) ? expected.equals(actual) : expected === actual, `${name} differs from the Linux build's`);
            assert.ok(actual.length > 100, `${name}: ${actual.length} bytes`);
        }

        // The plan: an SVG drawing of the centre line with the stakes computed and their side points.
        await tab(page, '平面图');
        const plan = await page.$eval('#route-page .plan-drawing', (d) => ({
            svg: d.querySelectorAll('svg').length,
            centre: d.querySelector('svg .centre-line') ? d.querySelector('svg .centre-line').getAttribute('d').length : 0,
            stakes: (d.querySelector('svg .stakes').getAttribute('d').match(/M/g) || []).length,
            left: (d.querySelector('svg .left-points').getAttribute('d').match(/M/g) || []).length,
            marks: [...d.querySelectorAll('svg .marks text')].map((t) => t.textContent),
        }));
        assert.equal(plan.svg, 1);
        assert.ok(plan.centre > 100);
        assert.equal(plan.stakes, stakeLines.length - 1);
        assert.equal(plan.left, 2 * (stakeLines.length - 1));
        assert.ok(plan.marks.includes('ZH K12+168.835'), plan.marks.join(' | '));
        await page.screenshot({path: screenshotPath('web-route-plan-1280x900.png')});

        await tab(page, '纵断面图');
        const title = await page.$eval('#route-page .profile-drawing svg .title', (t) => t.textContent);
        assert.match(title, /^纵断面图 {3}K11\+400\.000 至 K14\+380\.000 {3}竖向放大 \d+ 倍$/);
        // The chainages under the grid read round 桩号 on both sides of the chain break at K12+800
        // (back to K12+780), as the window's profile reads them: whole multiples of one step.
        const chainages = (await page.$$eval('#route-page .profile-drawing svg .labels text', (t) => t.map((x) => x.textContent)))
            .filter((t) => /^K\d+\+/.test(t))
            .map((t) => { const [, km, m] = t.match(/^K(\d+)\+([\d.]+)$/); return Number(km) * 1000 + Number(m); });
        assert.ok(chainages.length >= 4, chainages.join(' '));
        const step = Math.min(...chainages.slice(1).map((c, k) => c - chainages[k]).filter((d) => d > 0));
        for (const c of chainages) assert.ok(Math.abs(c / step - Math.round(c / step)) < 1e-9, `${c} is no multiple of ${step}: ${chainages.join(' ')}`);
        assert.ok(chainages.some((c) => c > 12800), chainages.join(' '));
        await page.screenshot({path: path.join(repoRoot, 'docs/web-route-profile-1280x900.png')});

        // A surveyed point: the README's chainage and offset.
        await tab(page, '坐标反算');
        await page.type('#route-page .route-locate input[name="x"]', '3456906');
        await page.type('#route-page .route-locate input[name="y"]', '512800');
        await page.keyboard.press('Enter');
        await page.waitForSelector('#route-page .locate-result dd');
        const located = await page.$$eval('#route-page .locate-result dd', (d) => d.map((x) => x.textContent));
        assert.deepEqual(located.slice(0, 4), ['12808.0222', 'K12+788.022', '-1.5503', '直线 JD1-JD2']);
        assert.deepEqual(located, lines(linux([...kFiles, '--locate', '3456906', '512800']).out)[1].split(','));

        // A file of surveyed points: its table as --locate-points lists it, and its download the
        // very bytes; a point far off told above the table. A file with a field that is no
        // number is refused with the command's words, and the table shown stays.
        const pointsRun = linux([...kFiles, '--locate-points', 'points.csv']);
        assert.equal(pointsRun.status, 0, pointsRun.err);
        await (await page.$('#route-page .locate-open-input')).uploadFile(path.join(dir, 'points.csv'));
        await waitRows(page, 'locate', 3);
        const pointLines = lines(pointsRun.out);
        assert.deepEqual((await shownRows(page, 'locate')).map((r) => r.line), pointLines.slice(1));
        // S1 is the README's point: in the vertical curve of K12+700 (R 12000 from 12550, -1 %
        // before it), 106.5 - 0.01 x + x^2 / 24000 at x = 258.0222 is 106.6938; the crown's 2 %
        // over 1.5503 m puts the design 0.0310 below; measured 108.
        const x = 12808.0222 - 12550, centre = 106.5 - 0.01 * x + x * x / 24000;
        assert.equal(pointLines[1], `S1,12808.0222,K12+788.022,-1.5503,直线 JD1-JD2,${centre.toFixed(4)},` +
            `${(centre - 0.02 * 1.5503).toFixed(4)},${(108 - (centre - 0.02 * 1.5503)).toFixed(4)}`);
        assert.equal(await page.$eval('#route-page .locate-points-note', (n) => n.textContent), worded(pointsRun.err));
        assert.match(pointsRun.err, /点 远点（第 4 行）离路线超过/);
        const pointsDownload = await download(page, downloads, '#route-page .locate-export', 'CSV 表格 (*.csv)');
        assert.equal(pointsDownload.proposed, 'points-坐标反算.csv');
        assert.ok(fs.readFileSync(pointsDownload.path).equals(pointsRun.out), 'the points\' CSV differs from the Linux build\'s');
        await (await page.$('#route-page .locate-open-input')).uploadFile(path.join(dir, 'badpoints.csv'));
        const badPoints = linux([...kFiles, '--locate-points', 'badpoints.csv']);
        assert.equal(badPoints.status, 1);
        assert.equal(await messageText(page), worded(badPoints.err));
        assert.deepEqual((await shownRows(page, 'locate')).map((r) => r.line), pointLines.slice(1));

        // Refused files, each told as the desktop tells it; the route shown stays with its stakes.
        await tab(page, '中桩表');
        await openRoute(page, ['broken.csv']);
        const brokenRun = linux(['broken.csv', '--segments']);
        assert.equal(brokenRun.status, 1);
        assert.equal(await messageText(page), worded(brokenRun.err));
        await openRoute(page, ['broken.xml']);
        const brokenXml = linux(['broken.xml', '--segments']);
        assert.equal(brokenXml.status, 1);
        assert.equal(await messageText(page), worded(brokenXml.err));
        await page.evaluate(() => { hcurveRoute.openFiles([{name: '资料', folder: true}], false); });
        const folder = linux(['资料', '--segments']);
        assert.equal(folder.status, 1);
        assert.equal(await messageText(page), worded(folder.err));
        await page.evaluate(() => {
            const gone = {name: '走失.csv', arrayBuffer: () => Promise.reject(new DOMException('gone', 'NotReadableError'))};
            hcurveRoute.openFiles([{file: gone}], false);
        });
        const unreadable = await messageText(page);
        assert.match(unreadable, /走失\.csv/);
        assert.match(unreadable, /没有权限/);
        assert.equal(await page.$eval('#route-page .route-files', (e) => e.textContent),
                     '文件：route.csv, profile.csv, crossfall.csv');
        for (const r of await shownRows(page, 'stakes')) assert.equal(r.line, stakeLines[r.row + 1]);
        const again = await download(page, downloads, '#route-page .route-export', 'CSV 表格 (*.csv)');
        assert.ok(fs.readFileSync(again.path).equals(fs.readFileSync(path.join(dir, 'linux.csv'))));

        // A GBK file is read as the desktop reads it.
        await openRoute(page, ['gbk.csv']);
        await page.waitForFunction(() => document.querySelector('#route-page .route-files').textContent === '文件：gbk.csv');
        await waitRows(page, 'elements', 4);
        assert.deepEqual((await shownRows(page, 'elements')).map((r) => r.line),
                         lines(linux(['gbk.csv', '--elements']).out).slice(1));
        assert.match((await shownRows(page, 'elements'))[1].line, /^交点一,/);

        await openRoute(page, ['markup.csv']);
        await page.waitForFunction(() => document.querySelector('#route-page .route-files').textContent === '文件：markup.csv');
        await tab(page, '平面图');
        const jds = await page.$$eval('#route-page .plan-drawing svg .jds text', (t) => t.map((x) => x.textContent));
        assert.ok(jds.includes('<i>JD1&amp;</i>'), jds.join(' | '));
        assert.equal(await page.$$eval('#route-page .plan-drawing i', (e) => e.length), 0);
        await tab(page, '曲线要素表');
        assert.equal((await shownRows(page, 'elements'))[1].line.split(',')[0], '<i>JD1&amp;</i>');
        assert.deepEqual(ctx.errors, []);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

test('a stake table of 100 000 rows scrolls with only the rows in view made', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        await openRoute(page, ['route.csv']);
        await waitRows(page, 'elements', 4);
        await tab(page, '中桩表');
        await fillForm(page, {interval: '0.03', from: '', to: '', left: '', right: ''});
        await page.click('#route-page .route-compute');
        const all = lines(linux(['route.csv', '--stakes', '--interval', '0.03']).out);
        assert.ok(all.length > 100001, `${all.length} lines`);
        await waitRows(page, 'stakes', 10);
        for (const where of [0.5, 1]) {
            await page.$eval('#route-page .route-table[data-table="stakes"]', (t, f) => { t.scrollTop = f * t.scrollHeight; }, where);
            await page.waitForFunction((f) => {
                const rows = document.querySelectorAll('#route-page .route-table[data-table="stakes"] .vt-row');
                return rows.length && Number(rows[0].dataset.row) > 1000 * f;
            }, {}, where);
            const shown = await shownRows(page, 'stakes');
            assert.ok(shown.length < 120, `${shown.length} rows made`);
            for (const r of shown) assert.equal(r.line, all[r.row + 1], `row ${r.row}`);
            if (where === 1) assert.equal(shown[shown.length - 1].row, all.length - 2);
        }
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

test('the route page on a phone: no sideways scrolling, controls for a finger', async () => {
    const ctx = await routePage({width: 360, height: 800, isMobile: true, hasTouch: true});
    const {page} = ctx;
    try {
        await openRoute(page, kFiles);
        await waitRows(page, 'elements', 4);
        await tab(page, '中桩表');
        await fillForm(page, kStretch);
        await page.click('#route-page .route-compute');
        await waitRows(page, 'stakes', 5);
        const overflow = await page.evaluate(() => document.documentElement.scrollWidth - document.documentElement.clientWidth);
        assert.ok(overflow <= 0, `${overflow} px wider than the screen`);
        const low = await page.$$eval('#route-page button:not([hidden]), #route-page input:not([type="file"])', (controls) =>
            controls.filter((c) => c.offsetParent !== null && c.getBoundingClientRect().height < 40)
                .map((c) => c.textContent || c.name));
        assert.deepEqual(low, []);
        const modes = await page.$$eval('#route-stake-form input', (i) => i.map((x) => x.name + ':' + x.inputMode));
        assert.deepEqual(modes, ['interval:decimal', 'from:text', 'to:text', 'left:decimal', 'right:decimal', 'skew:decimal']);
        await page.screenshot({path: screenshotPath('web-route-360x800.png')});
        await tab(page, '平面图');
        await page.screenshot({path: screenshotPath('web-route-plan-360x800.png')});
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});

test('a route with a template: the 横断面 tab and the stake table with its edges', async () => {
    const ctx = await routePage({width: 1280, height: 900});
    const {page} = ctx;
    try {
        // The grade line added to the open route from the button, as from another folder.
        await openRoute(page, ['route.csv', 'section.csv']);
        await waitRows(page, 'elements', 4);
        assert.equal(await page.$eval('#route-page .route-tabs [data-tab="profile"]', (t) => t.hidden), true);
        await openRoute(page, ['profile.csv'], '.route-add-input');
        await page.waitForFunction(() => !document.querySelector('#route-page .route-tabs [data-tab="profile"]').hidden);
        assert.equal(await page.$eval('#route-page .route-files', (e) => e.textContent), '文件：route.csv, section.csv, profile.csv');
        const files = ['route.csv', 'section.csv', 'profile.csv'];
        await tab(page, '中桩表');
        await fillForm(page, {interval: '100', from: 'K11+600', to: 'K11+600', left: '', right: ''});
        await page.click('#route-page .route-compute');
        await waitRows(page, 'stakes', 1);
        await tab(page, '横断面');
        await waitRows(page, 'sections', 13);
        const sections = (await shownRows(page, 'sections')).map((r) => r.line);
        // The README's section at K11+600: its first and its centre line's break point.
        assert.equal(sections[0], 'K11+600.000,左填方第2级坡脚,-29.2500,93.7500,3456287.3731,511793.2848');
        assert.equal(sections[7], 'K11+600.000,中桩,0.0000,104.0000,3456266.5091,511813.7848');
        assert.deepEqual(sections, lines(linux([...files, '--sections', '--interval', '100', '--from', 'K11+600', '--to', 'K11+600']).out).slice(1));

        // 显示边缘: the stake table and its export as --edges has them.
        await tab(page, '中桩表');
        await fillForm(page, {interval: '20', from: 'K12+100', to: 'K12+300', left: '5', right: '5'});
        await page.click('#route-page .route-compute');
        await page.click('#route-page .route-edges input');
        const options = ['--stakes', '--interval', '20', '--from', 'K12+100', '--to', 'K12+300', '--left', '5', '--right', '5', '--edges'];
        const edges = lines(linux([...files, ...options]).out);
        await page.waitForFunction((n) => document.querySelectorAll('#route-page .route-table[data-table="stakes"] .vt-head div').length === n,
                                   {}, edges[0].split(',').length);
        for (const r of await shownRows(page, 'stakes')) assert.equal(r.line, edges[r.row + 1]);
        const downloads = await downloadsTo(page, path.join(dir, 'downloads-edges'));
        const got = await download(page, downloads, '#route-page .route-export', 'CSV 表格 (*.csv)');
        assert.equal(linux([...files, ...options, '--out', 'edges.csv']).status, 0);
        assert.ok(fs.readFileSync(got.path).equals(fs.readFileSync(path.join(dir, 'edges.csv'))));
        assert.deepEqual(ctx.errors, []);
        assertNoRequests(ctx);
    } finally {
        await closePage(ctx);
    }
});
