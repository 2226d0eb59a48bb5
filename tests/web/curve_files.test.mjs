// The one-curve window's files and tools in the page, against the Linux console run in a folder
// of its own with the same answers: the exports, the curve file (saved, opened from the picker,
// dropped, in GBK, refused), 打印's lines, 中桩成果报告 in the print view, 坐标反算, a refused huge
// number, a design value changed by a double click, 结 束 and the last curve offered again.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { openPage, closePage, assertNoRequests, downloadsTo } from './harness.mjs';
import {
  consoleCommands, stateAfter, pageState, expectedState, typeCommand, startCommand, waitForMessage, messagesShown,
  waitUntilIdle, workedExample, exampleWithSidePoints, stakeRange,
} from './curve_session.mjs';

const scratch = () => fs.mkdtempSync(path.join(os.tmpdir(), 'hcurve-web-'));

// A session typed into the page, compared with the console after every command.
async function typeAndCompare(page, session, folder) {
  const segments = consoleCommands(session, folder);
  const start = await pageState(page);
  let consoleState = { fields: {}, labels: {} };
  for (let i = 0; i < session.length; ++i) {
    await typeCommand(page, session[i], segments[i]);
    consoleState = stateAfter(segments[i], consoleState);
    assert.deepEqual(await pageState(page), expectedState(start, consoleState), `after ${session[i].caption}`);
  }
  return { segments, start, consoleState };
}

// Answers the page's save dialog: a name and, when given, a file type by its position.
async function saveAs(page, name, type) {
  await page.waitForSelector('#file-dialog[open] #file-name');
  await page.$eval('#file-name', (input, name) => { input.value = name; }, name);
  if (type !== undefined) await page.select('#file-type', String(type));
  await page.focus('#file-name');
  await page.keyboard.press('Enter');
}

// Closes the next message with Enter; its text.
async function readMessage(page, n) {
  const text = await waitForMessage(page, n);
  await page.keyboard.press('Enter');
  return text;
}

const messagesOf = (events) => events.filter((e) => e.kind === 'message').map((e) => e.text);

test('导出中桩坐标 and 保存曲线 download the bytes the console writes, under their names', async () => {
  const folder = scratch();
  const exports = [
    { typed: '中桩坐标.csv', type: undefined, file: '中桩坐标.csv' },
    { typed: 'points', type: 1, file: 'points.dat' },
    { typed: 'station', type: 2, file: 'station.gsi' },
  ];
  const session = [exampleWithSidePoints, stakeRange,
    ...exports.map((e) => ({ key: '6', caption: '导出中桩坐标', answers: [e.file] })),
    { key: '8', caption: '保存曲线', answers: ['JD7.csv'] }];
  const segments = consoleCommands(session, folder);
  const ctx = await openPage();
  try {
    const page = ctx.page;
    const downloads = await downloadsTo(page, path.join(folder, 'downloads'));
    await typeAndCompare(page, session.slice(0, 2), folder);
    for (let i = 0; i < exports.length; ++i) {
      const shown = await messagesShown(page);
      await startCommand(page, '导出中桩坐标');
      await saveAs(page, exports[i].typed, exports[i].type);
      const message = await readMessage(page, shown + 1);
      assert.deepEqual([message], messagesOf(segments[2 + i]));
      const saved = await downloads.next();
      assert.equal(path.basename(saved), exports[i].file);
      assert.ok(fs.readFileSync(saved).equals(fs.readFileSync(path.join(folder, exports[i].file))), exports[i].file);
      await waitUntilIdle(page);
    }
    // 保存曲线 proposes JD7.csv, the desktop's name for the curve of JD 7.
    const shown = await messagesShown(page);
    await startCommand(page, '保存曲线');
    await page.waitForSelector('#file-dialog[open] #file-name');
    assert.equal(await page.$eval('#file-name', (i) => i.value), 'JD7.csv');
    await page.keyboard.press('Enter');
    assert.deepEqual([await readMessage(page, shown + 1)], messagesOf(segments.at(-1)));
    const curve = await downloads.next();
    assert.equal(path.basename(curve), 'JD7.csv');
    assert.ok(fs.readFileSync(curve).equals(fs.readFileSync(path.join(folder, 'JD7.csv'))));
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});

// The README's curve file, with the worked example's values and side points.
const curveFile = '\ufeff项目,值\r\n交点号,1\r\n交点桩号 K,12345.678\r\n交点纵座标 X,3456789.123\r\n交点横座标 Y,512345.678\r\n' +
  '方位角 T,45.3015\r\n偏角 B,30.153\r\n半径 R,500\r\n缓和曲线要素 A1,200\r\n缓和曲线要素 A2,250\r\n计算边桩,y\r\n' +
  '现在输入距离,1\r\n左侧距离,5,10\r\n右侧距离,7.5\r\n排数,2\r\n前排距横轴,1.5\r\n后排距横轴,2\r\n';

// Opens a file through the open dialog's picker, or by dropping it on the page.
async function openFile(page, file, how) {
  if (how === 'picker') {
    await startCommand(page, '打开曲线');
    await page.waitForSelector('#file-dialog[open] .file-pick');
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#file-dialog .file-pick')]);
    await chooser.accept([file]);
  } else {
    const bytes = [...fs.readFileSync(file)];
    await page.evaluate((bytes, name) => {
      const data = new DataTransfer();
      data.items.add(new File([new Uint8Array(bytes)], name));
      document.getElementById('curve-design').dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
    }, bytes, path.basename(file));
  }
}

test('打开曲线 by the picker or by a drop shows what the console shows; a GBK file reads alike; a refused file keeps the curve', async () => {
  const folder = scratch();
  fs.writeFileSync(path.join(folder, 'JD1.csv'), curveFile);
  fs.writeFileSync(path.join(folder, 'JD1-gbk.csv'), execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GBK'], { input: curveFile.slice(1) }));
  // Neither UTF-8 nor GBK: bytes no GBK text has.
  fs.writeFileSync(path.join(folder, 'broken.csv'), Buffer.from([0xff, 0xfe, 0x80, 0x0a]));
  const cases = [
    { file: 'JD1.csv', how: 'picker' },
    { file: 'JD1-gbk.csv', how: 'drop' },
    { file: 'broken.csv', how: 'picker' },
    { file: 'broken.csv', how: 'drop' },
  ];
  const session = [workedExample, ...cases.map((c) => ({ key: '9', caption: '打开曲线', answers: [c.file] }))];
  const segments = consoleCommands(session, folder);
  const ctx = await openPage();
  try {
    const page = ctx.page;
    const { start } = await typeAndCompare(page, [workedExample], folder);
    let consoleState = stateAfter(segments[0]);
    for (let i = 0; i < cases.length; ++i) {
      const shown = await messagesShown(page);
      await openFile(page, path.join(folder, cases[i].file), cases[i].how);
      const expected = messagesOf(segments[1 + i]);
      for (let m = 0; m < expected.length; ++m) assert.equal(await readMessage(page, shown + 1 + m), expected[m]);
      await waitUntilIdle(page);
      consoleState = stateAfter(segments[1 + i], consoleState);
      assert.deepEqual(await pageState(page), expectedState(start, consoleState), `${cases[i].file} by ${cases[i].how}`);
    }
    assert.ok(messagesOf(segments.at(-1)).length === 1, 'the broken file is refused with a message');
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});

// The cells a text takes in the console's printed lines: two for a wide (CJK, fullwidth)
// character, one for any other.
function cells(text) {
  let n = 0;
  for (const c of text) {
    const u = c.codePointAt(0);
    const wide = (u >= 0x1100 && u <= 0x115f) || (u >= 0x2e80 && u <= 0xa4cf) || (u >= 0xac00 && u <= 0xd7a3) ||
      (u >= 0xf900 && u <= 0xfaff) || (u >= 0xfe30 && u <= 0xfe4f) || (u >= 0xff00 && u <= 0xff60) || (u >= 0xffe0 && u <= 0xffe6);
    n += wide ? 2 : 1;
  }
  return n;
}

test('打印 puts the console\'s printed lines into the print view and opens the print dialog; 中桩成果报告 too', async () => {
  const session = [exampleWithSidePoints, stakeRange, { key: '4', caption: '打印', answers: [] }];
  const segments = consoleCommands(session);
  const printed = segments[2].filter((e) => e.kind === 'print').map((e) => e.text);
  assert.ok(printed.length > 10);
  const ctx = await openPage();
  try {
    const page = ctx.page;
    await typeAndCompare(page, session.slice(0, 2));
    await page.evaluate(() => { window.printed = []; window.print = () => window.printed.push(document.title); });
    await startCommand(page, '打印');
    await waitUntilIdle(page);
    const lines = await page.$$eval('#print-view .printed-line', (ls) => ls.map((l) => [...l.children].map((s) => [Number(s.dataset.x), s.textContent])));
    // Each piece at its cell, as the console pads it.
    const text = lines.map((pieces) => {
      let line = '';
      for (const [x, piece] of pieces) line += ' '.repeat(Math.max(0, x - cells(line))) + piece;
      return line;
    });
    assert.deepEqual(text, printed);
    assert.equal((await page.evaluate(() => window.printed)).length, 1);

    // The report: its tables in the print view, printed under the desktop's file name.
    const shown = await messagesShown(page);
    await startCommand(page, '中桩成果报告');
    assert.match(await readMessage(page, shown + 1), /打印/);
    await waitUntilIdle(page);
    assert.deepEqual(await page.evaluate(() => window.printed), ['平曲线计算', '中桩成果报告-JD7']);
    const report = await page.evaluate(() => ({
      title: document.querySelector('#print-view h1').textContent,
      tables: [...document.querySelectorAll('#print-view table')].map((t) => t.tBodies[0].rows.length),
    }));
    assert.equal(report.title, '中桩成果报告');
    // The last table lists the 3 stakes, each with its 2 x 3 side points.
    assert.equal(report.tables.at(-1), 3 * 7);
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});

test('坐标反算 and a refused huge number: the console\'s messages', async () => {
  const refused = { ...workedExample, answers: [...workedExample.answers] };
  // R = 1e300 is refused at once and asked again.
  refused.answers.splice(12, 0, '1e300');
  const session = [refused, { key: '5', caption: '坐标反算', answers: ['3456719.693', '512278.057'] },
    { key: '5', caption: '坐标反算', answers: ['3456700', '512300'] }];
  const ctx = await openPage();
  try {
    const { segments } = await typeAndCompare(ctx.page, session);
    assert.ok(messagesOf(segments[0]).length >= 1, 'the huge radius is refused');
    // HY's own coordinates, shown to the millimetre, lie on the centre line at HY's chainage.
    const [, km, m, offset] = /^坐标反算：桩号 K(\d+)\+(\d+\.\d+)，偏距 (\d+\.\d+) 米/.exec(messagesOf(segments[1])[0]);
    assert.ok(Math.abs(Number(km) * 1000 + Number(m) - 12248.835) <= 0.002, messagesOf(segments[1])[0]);
    assert.ok(Number(offset) <= 0.002, messagesOf(segments[1])[0]);
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});

test('a double-clicked radius, 结 束 and the last curve offered again', async () => {
  const changed = { ...workedExample, answers: [...workedExample.answers] };
  changed.answers[12] = '600';
  const [design] = consoleCommands([changed]);
  const ctx = await openPage();
  try {
    const page = ctx.page;
    const { start } = await typeAndCompare(page, [workedExample]);
    // R asked again with its confirmation: the page as if 600 had been typed at first.
    await page.click('[data-field="Radius"]', { clickCount: 2 });
    await page.waitForSelector('#question-dialog[open]');
    await page.keyboard.type('600');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => /确认半径/.test(document.querySelector('#question-dialog .dialog-prompt').textContent));
    await page.keyboard.press('Enter');
    await waitUntilIdle(page);
    const after600 = expectedState(start, stateAfter(design));
    assert.deepEqual(await pageState(page), after600);

    // 结 束 while a question is open ends the session: the page as it opened.
    await startCommand(page, '中桩计算');
    await page.waitForSelector('#question-dialog[open]');
    await page.evaluate(() => [...document.querySelectorAll('#curve-design .command')].find((b) => b.textContent === '结 束').click());
    await waitUntilIdle(page);
    assert.deepEqual(await pageState(page), start);

    // The curve is kept in the browser's storage and offered at the next start.
    await page.reload();
    await page.waitForFunction(() => window.hcurveReady === true);
    await page.click('#open-kept-curve');
    await waitUntilIdle(page);
    assert.deepEqual(await pageState(page), after600);
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});
