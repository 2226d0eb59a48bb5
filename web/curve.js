// The one-curve window: its captions, fields, lines of the sign diagram and buttons, placed from
// the desktop window's layout table (handed over by the C++ code), its menu of tools, and the
// page's side of the user port (Module.hcurvePage). Every text in a field comes from a command.
'use strict';

(() => {
  const TWIPS_PER_PIXEL = 15; // 1440 twips an inch, 96 CSS pixels an inch
  const POINTS_TO_PIXELS = 96 / 72;
  const $ = hcurve.$;

  const px = (twips) => twips / TWIPS_PER_PIXEL + 'px';
  const faces = { ui: 'var(--cjk-sans)', song: 'var(--cjk-song)', sans: 'var(--latin-sans)' };

  function readLayout(text) {
    const layout = { labels: [], fields: [], lines: [], buttons: [], commands: [], focus: [] };
    for (const line of text.split('\n')) {
      if (line === '') continue;
      const cell = line.split('\t');
      const rect = (i) => ({ left: +cell[i], top: +cell[i + 1], width: +cell[i + 2], height: +cell[i + 3] });
      const font = (i) => ({ face: cell[i], points: +cell[i + 1], bold: cell[i + 2] === '1' });
      switch (cell[0]) {
        case 'design':
          layout.design = { width: +cell[1], height: +cell[2], background: cell[3], title: cell[4], font: font(5) };
          break;
        case 'label':
          layout.labels.push({ name: cell[1], caption: cell[2], rect: rect(3), font: font(7), autoSize: cell[10] === '1' });
          break;
        case 'field':
          layout.fields.push({ name: cell[1], rect: rect(2), white: cell[6] === '1', design: cell[7] === '1' });
          break;
        case 'line':
          layout.lines.push({ number: +cell[1], colour: cell[2], width: +cell[3], x1: +cell[4], y1: +cell[5], x2: +cell[6], y2: +cell[7] });
          break;
        case 'button':
          layout.buttons.push({ command: +cell[1], caption: cell[2], rect: rect(3), colour: cell[7] });
          break;
        case 'command':
          layout.commands.push({ index: +cell[1], caption: cell[2], offered: cell[3], anyTime: cell[4] === '1' });
          break;
        case 'focus':
          layout.focus.push({ kind: cell[1], name: cell[2] });
          break;
      }
    }
    return layout;
  }

  // The sign diagram's box: its lines and captions move together on a narrow screen.
  const DIAGRAM = { left: 8640, top: 840, width: 3840, height: 2160 };
  const inDiagram = (x, y) => x >= DIAGRAM.left && x <= DIAGRAM.left + DIAGRAM.width && y >= DIAGRAM.top && y <= DIAGRAM.top + DIAGRAM.height + 15;
  // The three columns of the design, left to right, by their frame lines.
  const columnOf = (x) => (x < 5160 ? 0 : x < 8640 ? 1 : 2);

  function place(element, rect, font) {
    element.style.setProperty('--x', px(rect.left));
    element.style.setProperty('--y', px(rect.top));
    element.style.setProperty('--w', px(rect.width));
    element.style.setProperty('--h', px(rect.height));
    if (font) {
      element.style.setProperty('--size', (font.points * POINTS_TO_PIXELS).toFixed(2) + 'px');
      element.style.setProperty('--weight', font.bold ? 'bold' : 'normal');
      element.style.setProperty('--face', faces[font.face] || faces.ui);
    }
  }

  function svgLines(lines, box) {
    const ns = 'http://www.w3.org/2000/svg';
    const svg = document.createElementNS(ns, 'svg');
    svg.setAttribute('viewBox', `${box.left} ${box.top} ${box.width} ${box.height}`);
    svg.setAttribute('aria-hidden', 'true');
    for (const line of lines) {
      const l = document.createElementNS(ns, 'line');
      for (const [k, v] of [['x1', line.x1], ['y1', line.y1], ['x2', line.x2], ['y2', line.y2]]) l.setAttribute(k, v);
      l.setAttribute('stroke', line.colour);
      l.setAttribute('stroke-width', line.width * TWIPS_PER_PIXEL);
      l.setAttribute('stroke-linecap', 'round');
      svg.append(l);
    }
    return svg;
  }

  function build(layout, run, changeValue) {
    const design = $('#curve-design');
    design.style.width = px(layout.design.width + 45);
    design.style.height = px(layout.design.height);
    const fieldNames = new Set(layout.fields.map((f) => f.name));
    const controls = { fields: new Map(), labels: new Map(), buttons: new Map() };

    // The frame's lines over the whole design; the diagram's lines inside its own box.
    const frame = svgLines(layout.lines.filter((l) => !(inDiagram(l.x1, l.y1) && inDiagram(l.x2, l.y2))),
      { left: 0, top: 0, width: layout.design.width + 45, height: layout.design.height });
    frame.classList.add('frame');
    frame.setAttribute('width', px(layout.design.width + 45));
    frame.setAttribute('height', px(layout.design.height));
    design.append(frame);
    const diagram = document.createElement('div');
    diagram.className = 'diagram';
    place(diagram, DIAGRAM);
    diagram.append(svgLines(layout.lines.filter((l) => inDiagram(l.x1, l.y1) && inDiagram(l.x2, l.y2)), DIAGRAM));

    // On a narrow screen the controls stand in one column: by column of the design, then from
    // the top, each caption before its field.
    const order = (x, y, after) => columnOf(x) * 100000 + y * 2 + (after ? 1 : 0);
    diagram.style.order = 1;
    let title = null;
    for (const label of layout.labels) {
      const caption = document.createElement('p');
      caption.className = 'caption';
      caption.dataset.label = label.name;
      caption.textContent = label.caption;
      if (label.autoSize) caption.classList.add('auto-size');
      if (inDiagram(label.rect.left, label.rect.top)) {
        place(caption, { ...label.rect, left: label.rect.left - DIAGRAM.left, top: label.rect.top - DIAGRAM.top }, label.font);
        diagram.append(caption);
      } else {
        place(caption, label.rect, label.font);
        if (label.name === 'Title') { caption.classList.add('title'); caption.style.order = 0; title = caption; }
        else {
          if (!fieldNames.has(label.name)) caption.classList.add(/^\s*\(/.test(label.caption) ? 'heading' : 'group');
          caption.style.order = order(label.rect.left, label.rect.top, false) + 10;
        }
        design.append(caption);
      }
      controls.labels.set(label.name, caption);
    }
    design.append(diagram);
    for (const field of layout.fields) {
      const input = document.createElement('input');
      input.type = 'text';
      input.readOnly = true;
      input.className = 'field';
      input.dataset.field = field.name;
      input.setAttribute('aria-label', controls.labels.get(field.name) ? controls.labels.get(field.name).textContent.trim() : field.name);
      place(input, field.rect, layout.design.font);
      const beside = layout.labels.find((l) => l.name === field.name);
      input.style.order = order(beside ? beside.rect.left : field.rect.left, beside ? beside.rect.top : field.rect.top, true) + 10;
      if (field.design) {
        input.classList.add('design');
        input.title = '双击修改这一设计值，曲线随即重算';
        input.addEventListener('dblclick', () => changeValue(field.name));
      }
      design.append(input);
      controls.fields.set(field.name, input);
    }
    layout.buttons.forEach((button, slot) => {
      const element = document.createElement('button');
      element.type = 'button';
      element.className = 'command';
      element.dataset.command = String(button.command);
      element.dataset.slot = String(slot);
      element.textContent = button.caption;
      element.style.setProperty('--colour', button.colour);
      place(element, button.rect, layout.design.font);
      element.addEventListener('click', () => run(button.command));
      design.append(element);
      controls.buttons.set(button.command, element);
    });
    // The desktop's Tab order; the first control has the focus when the page opens.
    layout.focus.forEach((f, i) => {
      const element = f.kind === 'field' ? controls.fields.get(f.name) : controls.buttons.get(+f.name);
      if (element) element.tabIndex = i + 1;
    });
    return controls;
  }

  function buildMenu(layout, run) {
    const bar = $('#curve-menu');
    const entries = [];
    const fileCommands = layout.commands.filter((c) => c.offered === 'file');
    if (fileCommands.length) {
      const menu = document.createElement('div');
      menu.className = 'menu';
      const opener = document.createElement('button');
      opener.type = 'button';
      opener.textContent = '文件';
      opener.setAttribute('aria-haspopup', 'true');
      const items = document.createElement('div');
      items.className = 'menu-items';
      items.hidden = true;
      for (const command of fileCommands) {
        const item = document.createElement('button');
        item.type = 'button';
        item.textContent = command.caption + (command.caption.startsWith('保存') || command.caption.startsWith('打开') ? '…' : '');
        item.dataset.command = String(command.index);
        item.addEventListener('click', () => { items.hidden = true; run(command.index); });
        items.append(item);
        entries.push(item);
      }
      opener.addEventListener('click', () => { items.hidden = !items.hidden; if (!items.hidden) items.firstChild.focus(); });
      items.addEventListener('keydown', (event) => { if (event.key === 'Escape') { items.hidden = true; opener.focus(); } });
      document.addEventListener('click', (event) => { if (!menu.contains(event.target)) items.hidden = true; });
      menu.append(opener, items);
      bar.append(menu);
    }
    for (const command of layout.commands.filter((c) => c.offered === 'tool')) {
      const item = document.createElement('button');
      item.type = 'button';
      item.textContent = command.caption;
      item.dataset.command = String(command.index);
      item.addEventListener('click', () => run(command.index));
      bar.append(item);
      entries.push(item);
    }
    return entries;
  }

  // Prompts whose answer is a number bring up the numeric keyboard; a name, a yes or no, a file
  // name take letters.
  const textPrompt = /[Yy]\s*\/\s*[Nn]|交点号|文件名|JD/;

  function today() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return `${d.getFullYear()}-${two(d.getMonth() + 1)}-${two(d.getDate())}`;
  }

  hcurve.register({
    id: 'curve-page',
    async start(module, page) {
      const layout = readLayout(module.UTF8ToString(module._hcurve_curve_layout()));
      hcurve.title = layout.design.title;
      let controls = null;
      let menuEntries = [];
      let running = false;

      const setRunning = (on) => {
        running = on;
        for (const [index, button] of controls.buttons)
          if (!layout.commands[index].anyTime) button.disabled = on;
        for (const entry of menuEntries) entry.disabled = on;
      };
      const call = async (name, types, args) => {
        setRunning(true);
        try {
          return await module.ccall(name, 'number', types, args, { async: true });
        } finally {
          setRunning(false);
        }
      };
      const run = async (index) => {
        if (running) {
          // 结 束 ends the session also while a question is open.
          if (layout.commands[index].anyTime) hcurve.endDialog();
          return;
        }
        await call('hcurve_run_command', ['number', 'string'], [index, today()]);
      };
      const changeValue = async (name) => {
        if (running) return;
        await call('hcurve_change_value', ['string'], [name]);
      };

      page.ask = (prompt) => hcurve.ask(prompt, { numeric: !textPrompt.test(prompt) });
      page.message = (text, error) => hcurve.message(text, { error });
      page.setField = (name, text) => {
        const field = controls.fields.get(name);
        field.value = text;
        field.setSelectionRange(0, 0);
      };
      page.setCaption = (name, caption) => { controls.labels.get(name).textContent = caption; };
      page.setStatus = (text) => {
        const status = $('#curve-status');
        status.replaceChildren();
        if (text) status.append(document.createTextNode(text));
      };
      page.keepCurve = (text) => hcurve.storage.set('lastCurve', text);
      page.download = (path, name) => {
        const type = /\.csv$/i.test(name) ? 'text/csv' : /\.dxf$/i.test(name) ? 'application/dxf' : 'application/octet-stream';
        hcurve.download(name, module.FS.readFile(path), type);
      };
      page.chooseSave = (title, proposed, types) => hcurve.chooseSave(title, proposed, types);
      page.chooseOpen = async (title, folder) => {
        const file = pendingFile !== null ? pendingFile : await hcurve.chooseFile(title);
        pendingFile = null;
        if (file === null || file === undefined) return 'C';
        const read = await hcurve.readFile(file);
        if (read.failure) return 'F' + read.failure;
        try { module.FS.mkdir(folder); } catch (e) { /* there already */ }
        const path = folder + '/' + file.name.replace(/[\\/]/g, '_');
        module.FS.writeFile(path, read.bytes);
        return 'A' + path;
      };
      page.print = (title, text) => printDocument(title, text);

      controls = build(layout, run, changeValue);
      menuEntries = buildMenu(layout, run);

      // A curve file dropped on the page opens as 打开曲线 would open it.
      let pendingFile = null;
      const openCommand = layout.commands.find((c) => c.caption === '打开曲线');
      hcurve.onPageDrop((file) => {
        if (running || !openCommand || $('#curve-page').hidden) return;
        pendingFile = file;
        run(openCommand.index);
      });

      // The last curve is offered again at the start.
      const kept = hcurve.storage.get('lastCurve');
      if (kept) {
        const offer = document.createElement('button');
        offer.type = 'button';
        offer.id = 'open-kept-curve';
        offer.textContent = '打开上次的曲线';
        offer.addEventListener('click', async () => {
          offer.remove();
          await call('hcurve_open_kept_curve', ['string'], [kept]);
        });
        page.keptOffer = offer;
      }
      await call('hcurve_change_value', ['string'], ['']); // shows the first step
      if (page.keptOffer) $('#curve-status').append(page.keptOffer);
      const first = layout.focus.length ? controls.fields.get(layout.focus[0].name) : null;
      if (first) first.focus();
    },
  });

  // Shows a printed document in the print view and opens the browser's print dialog.
  function printDocument(title, text) {
    const view = $('#print-view');
    view.replaceChildren();
    let table = null;
    let numeric = [];
    let head = null;
    for (const line of text.split('\n')) {
      if (line === '') continue;
      const cell = line.split('\t');
      const add = (tag, content, className) => {
        const element = document.createElement(tag);
        if (content !== undefined) element.textContent = content;
        if (className) element.className = className;
        view.append(element);
        return element;
      };
      switch (cell[0]) {
        case 'line': {
          const printed = add('div', undefined, 'printed-line');
          printed.style.fontSize = cell[1] + 'pt';
          for (let i = 2; i + 1 < cell.length; i += 2) {
            const piece = document.createElement('span');
            piece.style.left = (+cell[i] * 0.5) + 'em';
            piece.textContent = cell[i + 1];
            printed.append(piece);
          }
          break;
        }
        case 'title': add('h1', cell[1]); break;
        case 'project': head = add('div', undefined, 'report-head'); head.append(Object.assign(document.createElement('span'), { textContent: cell[1] })); break;
        case 'date': if (head) head.append(Object.assign(document.createElement('span'), { textContent: cell[1] })); break;
        case 'table': add('h2', cell[1]); table = null; break;
        case 'note': add('p', cell[1], 'note'); break;
        case 'columns': {
          table = add('table');
          const row = table.createTHead().insertRow();
          for (const c of cell.slice(1)) row.append(Object.assign(document.createElement('th'), { textContent: c }));
          table.createTBody();
          break;
        }
        case 'numeric': numeric = cell.slice(1).map((f) => f === '1'); break;
        case 'row': {
          const row = table.tBodies[0].insertRow();
          cell.slice(1).forEach((c, i) => { const td = row.insertCell(); td.textContent = c; if (numeric[i]) td.className = 'numeric'; });
          break;
        }
      }
    }
    // The print dialog proposes the document's title as the PDF's name.
    const before = document.title;
    document.title = title.replace(/\.pdf$/i, '');
    window.print();
    document.title = before;
  }
})();
