// Sessions of the one-curve window typed into the page as a user types them, and the same
// session run through `hcurve --console` (the Linux program): the console's transcript says which
// questions and messages come, in which order, and what every field and caption shows after each
// command. The page's fields are found by the window's control names, which the console's
// protocol shares (Text14, Label36).
import { spawnSync } from 'node:child_process';
import os from 'node:os';
import fs, { existsSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import assert from 'node:assert/strict';
import { insertText } from './harness.mjs';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// The Linux console to compare with: HCURVE_CONSOLE, else the default build's program.
export function consoleProgram() {
  const given = process.env.HCURVE_CONSOLE;
  const program = given || path.join(root, 'build/default/src/main/hcurve');
  if (!existsSync(program)) throw new Error(`no console program at ${program} (build the default preset or set HCURVE_CONSOLE)`);
  return program;
}

// The console's lines as events. A prompt or message of several lines goes on until a line that
// begins another event.
export function transcriptEvents(output) {
  const events = [];
  for (const line of output.split('\n')) {
    let m;
    if (line.startsWith('? ')) events.push({ kind: 'ask', text: line.slice(2) });
    else if (line.startsWith('! ')) events.push({ kind: 'message', text: line.slice(2) });
    else if ((m = /^(Text\d+)\t(.*)$/.exec(line))) events.push({ kind: 'field', control: m[1], text: m[2] });
    else if ((m = /^(Label\d+)\t(.*)$/.exec(line))) events.push({ kind: 'label', control: m[1], text: m[2] });
    else if (line.startsWith('print\t')) events.push({ kind: 'print', text: line.slice(6) });
    else if (line.startsWith('# ') || line === '') continue;
    else if (events.length && (events.at(-1).kind === 'ask' || events.at(-1).kind === 'message')) events.at(-1).text += '\n' + line;
    else throw new Error(`a console line of no known kind: ${JSON.stringify(line)}`);
  }
  return events;
}

// A command whose listing pauses are answered with Enter: its answers, then as many empty lines
// as it asks for (the console passes over empty lines between commands).
const kPauses = 200;
const answerOf = (command, i) => (i < command.answers.length ? command.answers[i] : command.pauses ? '' : undefined);

function runConsole(commands, cwd) {
  const input = commands.map((c) => [c.key, ...c.answers, ...(c.pauses ? Array(kPauses).fill('') : [])].join('\n') + '\n').join('');
  const result = spawnSync(consoleProgram(), ['--console'], { input, encoding: 'utf8', cwd });
  if (result.status !== 0) throw new Error(`hcurve --console ended with ${result.status}: ${result.stderr}`);
  return transcriptEvents(result.stdout);
}

// The window shows a stake in place of the one before it, side points included: the side groups
// (Text31 to Text36) are emptied as the stake's chainage (Text26) is shown. The console writes
// only what the commands write.
const stakeChainage = 'Text26';
const sideFields = ['Text31', 'Text32', 'Text33', 'Text34', 'Text35', 'Text36'];

// What the window's fields and captions show after a list of the console's events, from the
// state before.
export function stateAfter(events, before = { fields: {}, labels: {} }) {
  const state = { fields: { ...before.fields }, labels: { ...before.labels } };
  for (const e of events) {
    if (e.kind === 'field' && e.control === stakeChainage) for (const side of sideFields) state.fields[side] = '';
    if (e.kind === 'field') state.fields[e.control] = e.text;
    if (e.kind === 'label') state.labels[e.control] = e.text;
  }
  return state;
}

// The console's session cut into its commands: each command's events alone, from running the
// console on every prefix of the session (in the folder cwd, where it writes and reads files).
export function consoleCommands(commands, cwd = undefined) {
  const segments = [];
  let previous = 0;
  for (let i = 1; i <= commands.length; ++i) {
    const events = runConsole(commands.slice(0, i), cwd);
    segments.push(events.slice(previous));
    previous = events.length;
  }
  return segments;
}

// Everything the page's design shows, by control name.
export async function pageState(page) {
  return page.evaluate(() => {
    const fields = {};
    const labels = {};
    for (const f of document.querySelectorAll('#curve-design [data-control^="Text"]')) fields[f.dataset.control] = f.value;
    for (const l of document.querySelectorAll('#curve-design [data-control^="Label"]')) labels[l.dataset.control] = l.textContent;
    return { fields, labels };
  });
}

// The state the console says, over the page's state at the start (every field empty, the
// captions of the layout).
export function expectedState(start, consoleState) {
  const fields = {};
  for (const control of Object.keys(start.fields)) fields[control] = consoleState.fields[control] ?? '';
  return { fields, labels: { ...start.labels, ...consoleState.labels } };
}

const counter = (selector, key) => (page) => page.$eval(selector, (d, k) => Number(d.dataset[k] || 0), key);
export const questionsAsked = counter('#question-dialog', 'asked');
export const messagesShown = counter('#message-dialog', 'shown');

// Waits until the page's question number n (counted from the page's start) is open.
export async function waitForQuestion(page, n) {
  await page.waitForFunction((n) => {
    const d = document.getElementById('question-dialog');
    return d.open && Number(d.dataset.asked) === n;
  }, { timeout: 10000 }, n);
  return page.$eval('#question-dialog .dialog-prompt', (p) => p.textContent);
}

export async function waitForMessage(page, n) {
  await page.waitForFunction((n) => {
    const d = document.getElementById('message-dialog');
    return d.open && Number(d.dataset.shown) === n;
  }, { timeout: 10000 }, n);
  return page.$eval('#message-dialog .dialog-message', (p) => p.textContent);
}

export async function waitUntilIdle(page) {
  await page.waitForFunction(() => document.body.dataset.running === '0', { timeout: 10000 });
}

// Clicks the button or menu entry of a command by its caption.
export async function startCommand(page, caption) {
  const clicked = await page.evaluate((caption) => {
    const wanted = [...document.querySelectorAll('#curve-page button[data-command]')].find(
      (b) => b.textContent.replace(/…$/, '') === caption);
    if (!wanted) return false;
    const menu = wanted.closest('.menu-items');
    if (menu) menu.hidden = false;
    wanted.click();
    return true;
  }, caption);
  assert.ok(clicked, `no button or menu entry ${caption}`);
}

// Types one command's answers as a user does, each followed by Enter, and closes each message
// with Enter, checking every prompt and message against the console's. quick: each answer comes
// as one input, as from a paste or an input method, not key by key.
export async function typeCommand(page, command, events, { quick = false } = {}) {
  let asked = await questionsAsked(page);
  let shown = await messagesShown(page);
  await startCommand(page, command.caption);
  let answer = 0;
  for (const e of events) {
    if (e.kind === 'ask') {
      const prompt = await waitForQuestion(page, ++asked);
      assert.equal(prompt, e.text, `question ${answer + 1} of ${command.caption}`);
      const typed = answerOf(command, answer++);
      assert.notEqual(typed, undefined, `${command.caption} asks more than its answers: ${prompt}`);
      await enter(page, typed, quick);
      await page.keyboard.press('Enter');
    } else if (e.kind === 'message') {
      const text = await waitForMessage(page, ++shown);
      assert.equal(text, e.text, `a message of ${command.caption}`);
      await page.keyboard.press('Enter');
    }
  }
  assert.ok(answer >= command.answers.length, `${command.caption} took every answer`);
  await waitUntilIdle(page);
}

// The README's worked example: JD 7 at K12+345.678, X 3456789.123, Y 512345.678, T 45°30'15",
// B 30°15'30" right, R 500, A1 200, A2 250, no side points; every value confirmed with Enter.
export const workedExample = {
  key: '1', caption: '开始计算',
  answers: ['7', '', '12345.678', '', '3456789.123', '', '512345.678', '', '45.3015', '', '30.1530', '', '500', '', '200', '', '250', '', 'n'],
};

async function enter(page, text, quick) {
  if (!quick) await page.keyboard.type(text);
  else if (text !== '') await insertText(page, text);
}

// Answers a command's first `count` questions, then leaves the next one: with Esc, 取消 or the
// dialog's close button, as a user does. The answers before it are given by a script in the page
// (each question's answer set and submitted, each message closed) at the page's own speed.
export async function leaveCommandAt(page, command, events, count, leaveBy) {
  const asked = await questionsAsked(page);
  const prompts = events.filter((e) => e.kind === 'ask').map((e) => e.text);
  const answers = prompts.slice(0, count).map((p, i) => answerOf(command, i));
  await startCommand(page, command.caption);
  const seen = await page.evaluate(async (asked, answers) => {
    const question = document.getElementById('question-dialog');
    const message = document.getElementById('message-dialog');
    const frame = () => new Promise((resolve) => setTimeout(resolve, 0));
    const seen = [];
    for (let i = 0; i < answers.length; ++i) {
      for (;;) {
        if (message.open) message.querySelector('form').requestSubmit();
        else if (question.open && Number(question.dataset.asked) === asked + i + 1) break;
        await frame();
      }
      seen.push(question.querySelector('.dialog-prompt').textContent);
      document.getElementById('question-answer').value = answers[i];
      question.querySelector('form').requestSubmit();
    }
    for (;;) {
      if (message.open) message.querySelector('form').requestSubmit();
      else if (question.open && Number(question.dataset.asked) === asked + answers.length + 1) break;
      await frame();
    }
    seen.push(question.querySelector('.dialog-prompt').textContent);
    return seen;
  }, asked, answers);
  assert.deepEqual(seen, prompts.slice(0, count + 1));
  if (leaveBy === 'Esc') await page.keyboard.press('Escape');
  else await page.click(leaveBy === '取消' ? '#question-dialog .dialog-cancel' : '#question-dialog .dialog-close');
  await waitUntilIdle(page);
  assert.equal(await page.$eval('#question-dialog', (d) => d.open), false, 'the question is closed');
}

const ways = ['Esc', '取消', '×'];
// The listing's pauses: leaving one ends the listing, and the run stays.
export const isPause = (prompt) => /按 Enter 键或 OK 键|单击 Enter 键或点击 OK 键/.test(prompt);

// Leaves the command at each question that `which` picks (by its prompt), after the prefix of
// commands, and checks the page: as before the command, or at a pause of the listing as the
// console shows it at that pause. Of the pauses only the first, one in the middle and the last
// are tried (each needs the session typed again).
export async function leaveEach(prefix, command, which = () => true) {
  const { openPage, closePage } = await import('./harness.mjs');
  const segments = consoleCommands([...prefix, command]);
  const events = segments.at(-1);
  const asks = events.map((e, i) => ({ ...e, at: i })).filter((e) => e.kind === 'ask');
  const pauses = asks.map((a, k) => k).filter((k) => isPause(asks[k].text));
  const tried = asks.map((a, k) => k).filter((k) => which(asks[k].text) && (!isPause(asks[k].text) ||
    [pauses[0], pauses[Math.floor(pauses.length / 2)], pauses.at(-1)].includes(k)));
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
      await typeCommand(ctx.page, prefix[i], segments[i], { quick: true });
      consoleBefore = stateAfter(segments[i], consoleBefore);
    }
    before = await pageState(ctx.page);
  };
  try {
    await fresh();
    for (const k of tried) {
      const way = ways[k % ways.length];
      await leaveCommandAt(ctx.page, command, events, k, way);
      const shown = await pageState(ctx.page);
      if (isPause(asks[k].text)) {
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
  return { asks: asks.length, pauses: pauses.length, tried: tried.length };
}

// The worked example with side points: two on the left (5 and 10 m), one on the right (7.5 m),
// in two rows 1.5 m before and 2 m behind the transverse axis, entered with the design.
export const exampleWithSidePoints = {
  ...workedExample,
  answers: [...workedExample.answers.slice(0, -1), 'y', '1', '2', '5', '10', '1', '7.5', '2', '1.5', '2'],
};

// 中桩计算 from K12+200 to K12+300 every 50 m, the transverse axis 15°30' from the normal, the rows
// 1.5 m before and 2 m behind it as the run asks them again; every
// listing pause answered with Enter.
export const stakeRange = {
  key: '2', caption: '中桩计算', pauses: true,
  answers: ['2', '12200', '12300', '50', '15.3', '1.5', '2'],
};

// ---- Helpers of the files' and tools' tests ----
export const scratch = () => fs.mkdtempSync(path.join(os.tmpdir(), 'hcurve-web-'));

// A session typed into the page, compared with the console after every command.
export async function typeAndCompare(page, session, folder) {
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
export async function saveAs(page, name, type) {
  await page.waitForSelector('#file-dialog[open] #file-name');
  await page.$eval('#file-name', (input, name) => { input.value = name; }, name);
  if (type !== undefined) await page.select('#file-type', String(type));
  await page.focus('#file-name');
  await page.keyboard.press('Enter');
}

// Closes the next message with Enter; its text.
export async function readMessage(page, n) {
  const text = await waitForMessage(page, n);
  await page.keyboard.press('Enter');
  return text;
}

export const messagesOf = (events) => events.filter((e) => e.kind === 'message').map((e) => e.text);

