// The one-curve window's tools in the page, against the Linux console run in a folder of its own
// with the same answers: 打印's lines, 中桩成果报告 in the print view, 坐标反算, a refused huge
// number, a design value changed by a double click, 结 束, the last curve offered again, and
// 平面图's files.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { openPage, closePage, assertNoRequests, downloadsTo } from './harness.mjs';
import {
  consoleCommands, stateAfter, pageState, expectedState, startCommand, messagesShown, waitUntilIdle,
  workedExample, exampleWithSidePoints, stakeRange, scratch, typeAndCompare, saveAs, readMessage, messagesOf,
} from './curve_session.mjs';

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
    await page.click('[data-field="Radius"]', { count: 2 });  // two clicks, as a hand makes them
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

test('平面图 saves the DXF the console writes, and the drawing as SVG and PNG', async () => {
  const folder = scratch();
  const session = [exampleWithSidePoints, stakeRange, { key: '7', caption: '保存平面图', answers: ['平面图.dxf'] }];
  const segments = consoleCommands(session, folder);
  const ctx = await openPage();
  try {
    const page = ctx.page;
    const downloads = await downloadsTo(page, path.join(folder, 'downloads'));
    await typeAndCompare(page, session.slice(0, 2), folder);
    await page.evaluate(() => [...document.querySelectorAll('#curve-menu > button')].find((b) => b.textContent === '平面图').click());
    await page.waitForSelector('#plan-view svg');
    const saves = [{ typed: '平面图.dxf' }, { typed: '平面图', type: 1, file: '平面图.svg' }, { typed: 'plan.png', file: 'plan.png' }];
    for (const save of saves) {
      const shown = await messagesShown(page);
      await page.click('#plan-view .tool-bar button:last-child');
      await saveAs(page, save.typed, save.type);
      const file = save.file || save.typed;
      assert.equal(await readMessage(page, shown + 1), `已保存平面图到文件“${file}”。`);
      const saved = await downloads.next();
      assert.equal(path.basename(saved), file);
      const bytes = fs.readFileSync(saved);
      if (file.endsWith('.dxf')) assert.ok(bytes.equals(fs.readFileSync(path.join(folder, '平面图.dxf'))), 'the DXF');
      else if (file.endsWith('.svg')) assert.match(bytes.toString('utf8'), /^<svg[^>]*xmlns="http:\/\/www.w3.org\/2000\/svg"[\s\S]*JD7[\s\S]*<\/svg>$/);
      else assert.deepEqual([...bytes.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
      await waitUntilIdle(page);
    }
    assert.deepEqual(messagesOf(segments[2]), ['已保存平面图到文件“平面图.dxf”。']);
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});
