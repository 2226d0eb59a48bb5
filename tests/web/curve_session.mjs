// Sessions of the one-curve window typed into the page as a user types them, and the same
// session run through `hcurve --console` (the Linux program): the console's transcript says which
// questions and messages come, in which order, and what every field and caption shows after each
// command. The page's fields are found by the window's control names, which the console's
// protocol shares (Text14, Label36).
import { spawnSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';
import assert from 'node:assert/strict';

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
// with Enter, checking every prompt and message against the console's.
export async function typeCommand(page, command, events) {
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
      await page.keyboard.type(typed);
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

// Answers a command's first `count` questions as typeCommand does, then leaves the next one:
// with Esc, 取消 or the dialog's close button.
export async function leaveCommandAt(page, command, events, count, leaveBy) {
  let asked = await questionsAsked(page);
  let shown = await messagesShown(page);
  await startCommand(page, command.caption);
  let answer = 0;
  for (const e of events) {
    if (e.kind === 'ask') {
      const prompt = await waitForQuestion(page, ++asked);
      assert.equal(prompt, e.text);
      if (answer === count) break;
      await page.keyboard.type(answerOf(command, answer++));
      await page.keyboard.press('Enter');
    } else if (e.kind === 'message') {
      await waitForMessage(page, ++shown);
      await page.keyboard.press('Enter');
    }
  }
  if (leaveBy === 'Esc') await page.keyboard.press('Escape');
  else await page.click(leaveBy === '取消' ? '#question-dialog .dialog-cancel' : '#question-dialog .dialog-close');
  await waitUntilIdle(page);
  assert.equal(await page.$eval('#question-dialog', (d) => d.open), false, 'the question is closed');
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
