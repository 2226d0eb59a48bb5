// 中桩计算 over a range with side points in two rows, typed into the page: every prompt, field and
// caption as the Linux console shows them, and the stake table's points where the side
// distances and the rows put them.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, closePage, assertNoRequests } from './harness.mjs';
import { consoleCommands, stateAfter, pageState, expectedState, typeCommand, exampleWithSidePoints, stakeRange } from './curve_session.mjs';

test('a stake run over a range with side points in two rows', async () => {
  const session = [exampleWithSidePoints, stakeRange];
  const segments = consoleCommands(session);
  const ctx = await openPage();
  try {
    const page = ctx.page;
    const start = await pageState(page);
    let consoleState = { fields: {}, labels: {} };
    for (let i = 0; i < session.length; ++i) {
      await typeCommand(page, session[i], segments[i]);
      consoleState = stateAfter(segments[i], consoleState);
      assert.deepEqual(await pageState(page), expectedState(start, consoleState), `after ${session[i].caption}`);
    }

    // The table, opened from the menu bar, whose entry says there is a new run.
    const entry = await page.$$eval('#curve-menu > button', (b) => b.map((e) => e.textContent));
    assert.ok(entry.includes('中桩成果表 (新)'), entry.join(', '));
    await page.evaluate(() => [...document.querySelectorAll('#curve-menu > button')].find((b) => b.textContent.startsWith('中桩成果表')).click());
    const rows = await page.$$eval('#stake-table-view .stake-spacer .stake-row', (rs) =>
      rs.map((r) => [...r.children].map((c) => c.textContent)));
    // Three stakes, each with 2 + 1 side points in two rows.
    assert.equal(rows.length, 3 * (1 + 2 * 3));
    const centres = rows.filter((r) => r[1] === '中桩');
    assert.deepEqual(centres.map((r) => r[0]), ['k 12+200.000', 'k 12+250.000', 'k 12+300.000']);
    const xy = (r) => ({ x: Number(r[4]), y: Number(r[5]) });
    // Consecutive stakes 50 m apart along a curve of radius 500 or more: a chord a hair shorter.
    for (let i = 1; i < centres.length; ++i) {
      const a = xy(centres[i - 1]), b = xy(centres[i]);
      const chord = Math.hypot(a.x - b.x, a.y - b.y);
      assert.ok(chord <= 50.0005 && chord > 2 * 500 * Math.sin(50 / (2 * 500)) - 0.001, `chord ${chord}`);
    }
    // Each side point lies its distance along the transverse axis and its row's distance across
    // it from the stake: sqrt(d^2 + row^2) from the stake, whatever the skew.
    let stake = null;
    let checked = 0;
    for (const r of rows) {
      if (r[1] === '中桩') { stake = xy(r); continue; }
      const d = Number(r[3]);
      const p = xy(r);
      const apart = Math.hypot(p.x - stake.x, p.y - stake.y);
      const fits = [1.5, 2].some((row) => Math.abs(apart - Math.hypot(d, row)) < 0.0015);
      assert.ok(fits, `${r.join(' ')}: ${apart} m from its stake`);
      ++checked;
    }
    assert.equal(checked, 3 * 6);
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});
