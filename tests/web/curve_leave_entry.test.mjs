// Leaving each question of 开始计算 (Esc, 取消 or the dialog's close button, in turn): the command
// ends and the page shows what it showed before it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { leaveEach, exampleWithSidePoints } from './curve_session.mjs';

test('leaving any question of 开始计算 leaves the page as it was', async () => {
  const left = await leaveEach([], exampleWithSidePoints);
  const n = exampleWithSidePoints.answers.length;
  assert.deepEqual(left, { asks: n, pauses: 0, tried: n });
});
