// Leaving each question of 开始计算 and of 中桩计算 (Esc, 取消 or the dialog's close button): the
// command ends and the page shows what it showed before it; a listing left at one of its pauses
// keeps what it listed, as the console shows it at that pause.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, closePage } from './harness.mjs';
import { consoleCommands, stateAfter, pageState, expectedState, typeCommand, leaveCommandAt, exampleWithSidePoints, stakeRange } from './curve_session.mjs';

const ways = ['Esc', '取消', '×'];
// The listing's pauses: leaving one ends the listing, and the run stays.
const isPause = (prompt) => /按 Enter 键或 OK 键|单击 Enter 键或点击 OK 键/.test(prompt);

async function leaveEach(prefix, command) {
  const segments = consoleCommands([...prefix, command]);
  const events = segments.at(-1);
  const asks = events.map((e, i) => ({ ...e, at: i })).filter((e) => e.kind === 'ask');
  let ctx = null;
  let before = null;
  let start = null;
  let consoleBefore = null;
  const fresh = async () => {
    if (ctx) await closePage(ctx);
    ctx = await openPage();
    start = await pageState(ctx.page);
    consoleBefore = { fields: {}, labels: {} };
    for (let i = 0; i < prefix.length; ++i) {
      await typeCommand(ctx.page, prefix[i], segments[i]);
      consoleBefore = stateAfter(segments[i], consoleBefore);
    }
    before = await pageState(ctx.page);
  };
  // Every question before the listing; of its pauses the first, one in the middle and the last
  // (each needs the session typed again).
  const pauses = asks.map((a, k) => k).filter((k) => isPause(asks[k].text));
  const tried = asks.map((a, k) => k).filter((k) => !isPause(asks[k].text) ||
    [pauses[0], pauses[Math.floor(pauses.length / 2)], pauses.at(-1)].includes(k));
  try {
    await fresh();
    for (const k of tried) {
      const way = ways[k % ways.length];
      await leaveCommandAt(ctx.page, command, events, k, way);
      const shown = await pageState(ctx.page);
      if (isPause(asks[k].text)) {
        // What the listing showed up to that pause.
        const atPause = stateAfter(events.slice(0, asks[k].at), consoleBefore);
        assert.deepEqual(shown, expectedState(start, atPause), `left by ${way} at pause ${k + 1}: ${asks[k].text}`);
        await fresh();
      } else {
        assert.deepEqual(shown, before, `left by ${way} at question ${k + 1}: ${asks[k].text}`);
      }
    }
  } finally {
    if (ctx) await closePage(ctx);
  }
  return { asks: asks.length, pauses: pauses.length };
}

test('leaving any question of 开始计算 leaves the page as it was', async () => {
  const left = await leaveEach([], exampleWithSidePoints);
  assert.deepEqual(left, { asks: exampleWithSidePoints.answers.length, pauses: 0 });
});

test('leaving any question of 中桩计算 leaves the page as it was, a left listing keeps its stakes', async () => {
  const left = await leaveEach([exampleWithSidePoints], stakeRange);
  // A pause before each of the 3 stakes and each of its 2 x 3 side points.
  assert.deepEqual(left, { asks: stakeRange.answers.length + 3 * 7, pauses: 3 * 7 });
});
