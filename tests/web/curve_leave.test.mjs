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
  try {
    await fresh();
    for (let k = 0; k < asks.length; ++k) {
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
  return asks.length;
}

test('leaving any question of 开始计算 leaves the page as it was', async () => {
  const left = await leaveEach([], exampleWithSidePoints);
  assert.equal(left, exampleWithSidePoints.answers.length);
});

test('leaving any question of 中桩计算 leaves the page as it was, a left listing keeps its stakes', async () => {
  const left = await leaveEach([exampleWithSidePoints], stakeRange);
  assert.ok(left > stakeRange.answers.length);
});
