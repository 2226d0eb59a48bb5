// The one-curve window's files in the page, against the Linux console run in a folder of its own
// with the same answers: the exports and the curve file saved (byte for byte, under the desktop's
// names), a curve file opened from the picker, dropped, in GBK, and refused.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { openPage, closePage, assertNoRequests, downloadsTo } from './harness.mjs';
import {
  consoleCommands, stateAfter, pageState, expectedState, startCommand, messagesShown, waitUntilIdle,
  workedExample, exampleWithSidePoints, stakeRange, scratch, typeAndCompare, saveAs, readMessage, messagesOf,
} from './curve_session.mjs';

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
  if (how === 'picker' || how === 'picker-only') {
    // picker-only: 打开曲线's dialog is open already.
    if (how === 'picker') await startCommand(page, '打开曲线');
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

// Leaving the system's file picker without a file (its 取消) is not leaving 打开曲线: the browser
// tells it by a cancel event at the file input, which rises through the page's dialog, and the
// dialog stays for another pick, a drop or its own 取消. Esc in the dialog still leaves it.
test('a file picker closed without a file keeps 打开曲线 open; the file picked next is opened', async () => {
  const folder = scratch();
  fs.writeFileSync(path.join(folder, 'JD1.csv'), curveFile);
  const session = [workedExample, { key: '9', caption: '打开曲线', answers: ['JD1.csv'] }];
  const segments = consoleCommands(session, folder);
  const ctx = await openPage();
  try {
    const page = ctx.page;
    const { start } = await typeAndCompare(page, [workedExample], folder);
    const before = await pageState(page);
    await startCommand(page, '打开曲线');
    await page.waitForSelector('#file-dialog[open] .file-pick');
    // What a browser fires when its picker is closed without a file.
    await page.$eval('#file-input', (input) => input.dispatchEvent(new Event('cancel', { bubbles: true })));
    await new Promise((resolve) => setTimeout(resolve, 200));
    assert.equal(await page.$eval('#file-dialog', (d) => d.open), true, 'the open dialog stays');
    assert.equal(await page.evaluate(() => document.body.dataset.running), '1', '打开曲线 still runs');
    assert.deepEqual(await pageState(page), before);
    await openFile(page, path.join(folder, 'JD1.csv'), 'picker-only');
    await waitUntilIdle(page);
    assert.deepEqual(await pageState(page), expectedState(start, stateAfter(segments[1], stateAfter(segments[0]))));

    // Esc in the open dialog still leaves the command, and the page shows what it showed.
    const opened = await pageState(page);
    await startCommand(page, '打开曲线');
    await page.waitForSelector('#file-dialog[open] .file-pick');
    await page.keyboard.press('Escape');
    await waitUntilIdle(page);
    assert.equal(await page.$eval('#file-dialog', (d) => d.open), false);
    assert.deepEqual(await pageState(page), opened);
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});
