// What every view of the page shares: the top bar's views, the question and message dialogs, the
// file dialogs (a name for a download; a file from the picker or dropped), downloads, the
// browser's storage, and the start of the module. Nothing here computes: every number comes from
// the C++ code.
'use strict';

const hcurve = (() => {
  const views = [];
  const $ = (selector, root = document) => root.querySelector(selector);

  // ---- Views of the top bar ----
  function showView(id) {
    for (const tab of document.querySelectorAll('#views [data-view]')) {
      const on = tab.dataset.view === id;
      tab.setAttribute('aria-selected', on ? 'true' : 'false');
      document.getElementById(tab.dataset.view).hidden = !on;
    }
  }

  // ---- Dialogs ----
  // One dialog open at a time; its promise settles when it is answered or left.
  let open = null;

  function runDialog(dialog, { onOk, focus, onShow }) {
    return new Promise((resolve) => {
      const form = $('form', dialog);
      const finish = (value) => {
        if (open === null || open.dialog !== dialog) return;
        open = null;
        form.removeEventListener('submit', submitted);
        dialog.removeEventListener('cancel', cancelled);
        for (const b of leave) b.removeEventListener('click', left);
        dialog.close();
        resolve(value);
      };
      const submitted = (event) => {
        event.preventDefault();
        window.hcurveAnsweredAt = performance.now();
        finish(onOk());
      };
      // Esc at the dialog itself. A file input inside it fires a cancel of its own, which rises
      // to the dialog, when the system's file picker is closed without a file: the dialog stays.
      const cancelled = (event) => {
        if (event.target !== dialog) return;
        event.preventDefault();
        finish(null);
      };
      const left = () => finish(null);
      const leave = dialog.querySelectorAll('.dialog-close, .dialog-cancel');
      form.addEventListener('submit', submitted);
      dialog.addEventListener('cancel', cancelled);
      for (const b of leave) b.addEventListener('click', left);
      open = { dialog, finish };
      if (onShow) onShow();
      dialog.showModal();
      focus.focus();
      if (focus.select) focus.select();
    });
  }

  // A question: the answer typed, null when left (Esc, 取消, the close button), undefined when
  // the session ends meanwhile.
  function ask(prompt, { numeric = false, title } = {}) {
    const dialog = $('#question-dialog');
    const input = $('#question-answer');
    $('.dialog-title span', dialog).textContent = title || pageTitle;
    $('.dialog-prompt', dialog).textContent = prompt;
    input.value = '';
    input.setAttribute('inputmode', numeric ? 'decimal' : 'text');
    dialog.dataset.asked = String(Number(dialog.dataset.asked || 0) + 1);
    return runDialog(dialog, { onOk: () => input.value, focus: input });
  }

  // A message, read and closed with 确定, Enter or Esc.
  async function message(text, { error = false, title } = {}) {
    const dialog = $('#message-dialog');
    $('.dialog-title span', dialog).textContent = title || pageTitle;
    $('.dialog-message', dialog).textContent = text;
    dialog.classList.toggle('error', error);
    dialog.dataset.shown = String(Number(dialog.dataset.shown || 0) + 1);
    await runDialog(dialog, { onOk: () => true, focus: $('.dialog-ok', dialog) });
  }

  // Ends the open dialog as the session ends (结 束 while a question is open).
  function endDialog() {
    if (open !== null) open.finish(undefined);
  }

  // The name a download is saved under, and its type: "index<TAB>name", or null when left.
  function chooseSave(title, proposed, types) {
    const dialog = $('#file-dialog');
    const name = $('#file-name');
    const type = $('#file-type');
    const kinds = types ? types.split('\t') : [];
    $('.file-title', dialog).textContent = title;
    $('.file-save', dialog).hidden = false;
    $('.file-open', dialog).hidden = true;
    $('.dialog-ok', dialog).hidden = false;
    $('.dialog-ok', dialog).textContent = '保存';
    name.value = proposed;
    type.replaceChildren(...kinds.map((kind, i) => new Option(kind, String(i))));
    type.hidden = kinds.length < 2;
    $('.file-type-label', dialog).hidden = kinds.length < 2;
    return runDialog(dialog, { onOk: () => (name.value.trim() === '' ? null : type.value + '\t' + name.value.trim()), focus: name });
  }

  // A file the user picks or drops in the open dialog.
  function chooseFile(title) {
    const dialog = $('#file-dialog');
    const input = $('#file-input');
    $('.file-title', dialog).textContent = title;
    $('.file-save', dialog).hidden = true;
    $('.file-open', dialog).hidden = false;
    $('.dialog-ok', dialog).hidden = true;
    input.value = '';
    let chosen = null;
    const picked = () => { if (input.files.length) { chosen = input.files[0]; open.finish(chosen); } };
    const dropped = (event) => {
      event.preventDefault();
      const file = droppedFile(event);
      if (file) { chosen = file; open.finish(file); }
    };
    const over = (event) => event.preventDefault();
    const pick = () => input.click();
    input.addEventListener('change', picked);
    dialog.addEventListener('drop', dropped);
    dialog.addEventListener('dragover', over);
    $('.file-pick', dialog).addEventListener('click', pick);
    return runDialog(dialog, { onOk: () => chosen, focus: $('.file-pick', dialog) }).then((value) => {
      input.removeEventListener('change', picked);
      dialog.removeEventListener('drop', dropped);
      dialog.removeEventListener('dragover', over);
      $('.file-pick', dialog).removeEventListener('click', pick);
      return value;
    });
  }

  // The dropped file; a dropped folder is handed on as what it is, so that reading it fails.
  function droppedFile(event) {
    const items = event.dataTransfer ? event.dataTransfer.items : null;
    if (items && items.length && items[0].webkitGetAsEntry) {
      const entry = items[0].webkitGetAsEntry();
      const file = items[0].getAsFile();
      if (entry && entry.isDirectory) return { name: entry.name, folder: true };
      return file;
    }
    return event.dataTransfer && event.dataTransfer.files.length ? event.dataTransfer.files[0] : null;
  }

  // The bytes of a chosen file; failure when the browser cannot read them (a folder, a file
  // gone or locked since it was chosen).
  async function readFile(file) {
    if (file.folder) return { failure: 'folder' };
    try {
      return { bytes: new Uint8Array(await file.arrayBuffer()) };
    } catch (error) {
      return { failure: String(error) };
    }
  }

  // Saves bytes as a download under the name given.
  function download(name, bytes, type = 'application/octet-stream') {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
    downloads.push(name);
  }
  const downloads = [];

  // The browser's storage; a browser that refuses it (private mode, file://) keeps nothing.
  const storage = {
    get(key) { try { return localStorage.getItem('hcurve.' + key); } catch (e) { return null; } },
    set(key, value) { try { localStorage.setItem('hcurve.' + key, value); } catch (e) { /* kept nowhere */ } },
  };

  // Files dropped on the page outside a dialog go to the view shown.
  let dropHandler = null;
  function onPageDrop(handler) { dropHandler = handler; }
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dropping');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dropping');
    if (open !== null) return;
    const file = droppedFile(event);
    if (file && dropHandler) dropHandler(file, event);
  });

  // The module's WebAssembly, which the page carries in base64 in an element of its own; the
  // element goes once it is read.
  function wasmBytes() {
    const element = document.getElementById('hcurve-wasm');
    const text = atob(element.textContent.trim());
    element.remove();
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  let pageTitle = '平曲线计算';
  function register(view) { views.push(view); }

  async function start() {
    for (const tab of document.querySelectorAll('#views [data-view]'))
      tab.addEventListener('click', () => showView(tab.dataset.view));
    if (!document.getElementById('route-page').hasChildNodes() && !views.some((v) => v.id === 'route-page')) {
      // Without the route page's script only the one-curve window is offered.
      document.querySelector('#views [data-view="route-page"]').hidden = true;
    }
    const page = {};
    // Marks of the start's steps, which bench/web_curve_speed.mjs reads.
    performance.mark('hcurve-start');
    const wasmBinary = wasmBytes();
    performance.mark('hcurve-wasm');
    const module = await createHcurve({ hcurvePage: page, wasmBinary, print: () => {},
      printErr: (t) => console.warn(t) });
    performance.mark('hcurve-module');
    for (const view of views) {
      await view.start(module, page);
      performance.mark('hcurve-view-' + view.id);
    }
    window.hcurveReadyAt = performance.now();
    window.hcurveReady = true;
  }

  window.addEventListener('DOMContentLoaded', start);

  // A push button (not a form's submit button) with its caption, and its tool tip and class.
  function button(text, { title, className } = {}) {
    const element = document.createElement('button');
    element.type = 'button';
    if (className) element.className = className;
    element.textContent = text;
    if (title) element.title = title;
    return element;
  }

  return { $, ask, button, message, endDialog, chooseSave, chooseFile, readFile, download, downloads, storage,
    onPageDrop, register, showView, get dialogOpen() { return open !== null; },
    set title(text) { pageTitle = text; } };
})();
