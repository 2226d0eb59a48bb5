// Leaving 中桩计算: at each question before its listing the page shows what it showed before the
// command; at a pause of the listing the run stays and the page shows what was listed, as the
// console shows it at that pause.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { leaveEach, isPause, exampleWithSidePoints, stakeRange } from './curve_session.mjs';

// A pause before each of the 3 stakes and each of its 2 x 3 side points.
const asks = stakeRange.answers.length + 3 * 7;

test('leaving any question of 中桩计算 before its listing leaves the page as it was', async () => {
  const left = await leaveEach([exampleWithSidePoints], stakeRange, (prompt) => !isPause(prompt));
  assert.deepEqual(left, { asks, pauses: 3 * 7, tried: stakeRange.answers.length });
});

test('leaving the listing of 中桩计算 at a pause keeps what it listed', async () => {
  const left = await leaveEach([exampleWithSidePoints], stakeRange, isPause);
  assert.deepEqual(left, { asks, pauses: 3 * 7, tried: 3 });
});
