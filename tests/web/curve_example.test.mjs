// The README's worked example typed into the page at a desktop size and on a phone: every prompt
// and every field and caption as the Linux console shows them for the same answers, and no
// request leaves the page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, closePage, assertNoRequests, screenshotPath } from './harness.mjs';
import { consoleCommands, stateAfter, pageState, expectedState, typeCommand, workedExample } from './curve_session.mjs';

// Runs the session in the page, comparing the page with the console after every command.
async function typeSession(page, session) {
  const segments = consoleCommands(session);
  const start = await pageState(page);
  let consoleState = { fields: {}, labels: {} };
  for (let i = 0; i < session.length; ++i) {
    await typeCommand(page, session[i], segments[i]);
    consoleState = stateAfter(segments[i], consoleState);
    assert.deepEqual(await pageState(page), expectedState(start, consoleState), `after ${session[i].caption}`);
  }
  return consoleState;
}

const number = (text) => Number(text.replace(/[^0-9.+-]/g, ''));

test('the worked example at a desktop size shows the console\'s fields', async () => {
  const ctx = await openPage({ viewport: { width: 1280, height: 900 } });
  try {
    await typeSession(ctx.page, [workedExample]);
    const { fields } = await pageState(ctx.page);
    // The spiral lengths by the clothoid's own rule, Ls = A^2 / R: 200^2 / 500 and 250^2 / 500.
    assert.ok(Math.abs(number(fields.Text10) - 200 ** 2 / 500) < 5e-4, fields.Text10);
    assert.ok(Math.abs(number(fields.Text11) - 250 ** 2 / 500) < 5e-4, fields.Text11);
    await ctx.page.screenshot({ path: screenshotPath('web-curve-desktop.png') });
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});

test('the worked example on a phone: one column, finger-sized controls, the console\'s fields', async () => {
  const ctx = await openPage({ viewport: { width: 360, height: 800, isMobile: true, hasTouch: true, deviceScaleFactor: 2 } });
  try {
    const page = ctx.page;
    // The first question as the phone shows it: no sideways scrolling, controls a finger can hit.
    const opened = page.waitForSelector('#question-dialog[open]');
    await page.evaluate(() => [...document.querySelectorAll('#curve-design .command')].find((b) => b.textContent === '开始计算').click());
    await opened;
    const dialogSizes = await page.evaluate(() => {
      const d = document.getElementById('question-dialog');
      const box = (e) => e.getBoundingClientRect();
      return {
        dialogRight: box(d).right,
        input: box(document.getElementById('question-answer')).height,
        buttons: [...d.querySelectorAll('.dialog-buttons button')].map((b) => box(b).height),
        inputmode: document.getElementById('question-answer').getAttribute('inputmode'),
      };
    });
    assert.ok(dialogSizes.dialogRight <= 360, `the dialog ends at ${dialogSizes.dialogRight}`);
    assert.ok(dialogSizes.input >= 40 && dialogSizes.buttons.every((h) => h >= 40), JSON.stringify(dialogSizes));
    // The JD's name takes letters; its confirmation and the chainage bring up the numeric keyboard.
    assert.equal(dialogSizes.inputmode, 'text');
    const modes = [];
    for (const answer of ['7', '']) {
      const asked = await page.$eval('#question-dialog', (d) => Number(d.dataset.asked));
      await page.keyboard.type(answer);
      await page.keyboard.press('Enter');
      await page.waitForFunction((n) => document.getElementById('question-dialog').open &&
        Number(document.getElementById('question-dialog').dataset.asked) === n + 1, {}, asked);
      modes.push(await page.$eval('#question-answer', (i) => i.getAttribute('inputmode')));
    }
    assert.deepEqual(modes, ['decimal', 'decimal']);
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.body.dataset.running === '0');

    await typeSession(page, [workedExample]);
    const layout = await page.evaluate(() => {
      const heights = [...document.querySelectorAll('#curve-design .field, #curve-design .command, #curve-menu button')]
        .filter((e) => e.getClientRects().length > 0)
        .map((e) => ({ name: e.dataset.control || e.textContent, h: e.getBoundingClientRect().height, right: e.getBoundingClientRect().right }));
      return { scrollWidth: document.documentElement.scrollWidth, heights };
    });
    assert.ok(layout.scrollWidth <= 360, `the page is ${layout.scrollWidth} px wide`);
    for (const c of layout.heights) {
      assert.ok(c.h >= 40, `${c.name} is ${c.h} px high`);
      assert.ok(c.right <= 360, `${c.name} ends at ${c.right}`);
    }
    // The characteristic points as the phone shows them after the example.
    await page.evaluate(() => document.querySelector('[data-label="PointsHeading"]').scrollIntoView());
    await page.screenshot({ path: screenshotPath('web-curve-phone.png') });
    assertNoRequests(ctx);
  } finally {
    await closePage(ctx);
  }
});
