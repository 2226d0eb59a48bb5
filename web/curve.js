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
          layout.labels.push({ name: cell[1], caption: cell[2], rect: rect(3), font: font(7), autoSize: cell[10] === '1', control: cell[11] });
          break;
        case 'field':
          layout.fields.push({ name: cell[1], rect: rect(2), white: cell[6] === '1', design: cell[7] === '1', control: cell[8] });
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
      caption.dataset.control = label.control;
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
      input.dataset.control = field.control;
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
      const opener = hcurve.button('文件');
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
  // A value that may be negative takes the full keyboard, whose minus sign every phone has.
  const textPrompt = /的点号|输入 Y|文件名|路径|负|为正/;

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
        document.body.dataset.running = on ? '1' : '0';
        if (!on) window.hcurveCommandEndedAt = performance.now();
        for (const [index, button] of controls.buttons)
          if (!layout.commands[index].anyTime) button.disabled = on;
        for (const entry of menuEntries) entry.disabled = on;
      };
      const tools = {};
      let seenRuns = 0;
      // After every command the open views follow; after a new run the table's entry says so
      // until the table is looked at.
      const commandEnded = () => {
        const runs = module._hcurve_stake_runs();
        const hasRun = module._hcurve_stake_count() > 0;
        if (runs !== seenRuns && hasRun && !tools.table.open) {
          tools.tableEntry.textContent = '中桩成果表 (新)';
          tools.tableEntry.title = '查看成果表：新的中桩计算结果';
        }
        if (!hasRun) { tools.tableEntry.textContent = '中桩成果表'; tools.tableEntry.title = ''; }
        seenRuns = runs;
        if (tools.table.open) tools.table.refresh();
        if (tools.plan.open) tools.plan.refresh();
      };
      const call = async (name, types, args) => {
        setRunning(true);
        try {
          return await module.ccall(name, 'number', types, args, { async: true });
        } finally {
          setRunning(false);
          if (tools.table) commandEnded();
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
      // The file the user picked or dropped goes into the module's working folder under its
      // own name, where the command reads it; a folder, a file that cannot be read or one too
      // large are told to the command as such.
      page.chooseOpen = async (title) => {
        const file = pendingFile !== null ? pendingFile : await hcurve.chooseFile(title);
        pendingFile = null;
        if (file === null || file === undefined) return 'C';
        const name = file.name.replace(/[\\/]/g, '_');
        if (file.folder) return 'D' + name;
        if (file.size > module._hcurve_largest_opened_file()) return 'T' + name;
        const read = await hcurve.readFile(file);
        if (read.failure) return 'U' + name;
        try { module.FS.rmdir(name); } catch (e) { /* no folder of that name */ }
        module.FS.writeFile(name, read.bytes);
        return 'A' + name;
      };
      page.print = (title, text) => printDocument(title, text);

      controls = build(layout, run, changeValue);
      document.body.dataset.running = '0';
      menuEntries = buildMenu(layout, run);

      // 平面图 and 中桩成果表, last in the menu bar as on the desktop.
      const savePlan = async (currentSvg) => {
        if (running) return;
        const chosen = await hcurve.chooseSave('保存平面图', '平面图.png',
          'PNG 图片 (*.png)\tSVG 矢量图 (*.svg)\tDXF 图形，供 CAD 使用 (*.dxf)');
        if (chosen === null || chosen === undefined) return;
        const tab = chosen.indexOf('\t');
        let name = chosen.slice(tab + 1).replace(/^.*[\\/]/, '');
        const extension = /\.(png|svg|dxf)$/i.exec(name);
        const kind = extension ? extension[1].toLowerCase() : ['png', 'svg', 'dxf'][+chosen.slice(0, tab)];
        if (!extension) name += '.' + kind;
        if (kind === 'dxf') {
          await call('hcurve_save_plan_dxf', ['string'], [name]);
          return;
        }
        const text = new XMLSerializer().serializeToString(currentSvg());
        if (kind === 'svg') hcurve.download(name, text, 'image/svg+xml');
        else hcurve.download(name, await svgToPng(text, currentSvg()), 'image/png');
        await call('hcurve_plan_saved', ['string'], [name]);
      };
      tools.plan = planView(module, savePlan);
      tools.table = stakeTable(module);
      const planEntry = hcurve.button('平面图');
      planEntry.addEventListener('click', () => tools.plan.show());
      const tableEntry = hcurve.button('中桩成果表');
      tableEntry.addEventListener('click', () => { tableEntry.textContent = '中桩成果表'; tableEntry.title = ''; tools.table.show(); });
      $('#curve-menu').append(planEntry, tableEntry);
      // While a command runs they wait, as every other entry does.
      menuEntries.push(planEntry, tableEntry);
      tools.tableEntry = tableEntry;

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
      module._hcurve_show_first_step();
      if (page.keptOffer) $('#curve-status').append(page.keptOffer);
      const first = layout.focus.length ? controls.fields.get(layout.focus[0].name) : null;
      if (first) first.focus();
    },
  });

  // ---- 中桩成果表 and 平面图: views of the whole result, opened from the menu, following every
  // command while open. ----
  function toolView(id, title) {
    const view = document.createElement('section');
    view.className = 'tool-view';
    view.id = id;
    view.hidden = true;
    view.setAttribute('role', 'dialog');
    view.setAttribute('aria-label', title);
    const head = document.createElement('div');
    head.className = 'dialog-title';
    const name = document.createElement('span');
    name.textContent = title;
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'dialog-close';
    close.setAttribute('aria-label', '关闭');
    close.textContent = '×';
    close.addEventListener('click', () => { view.hidden = true; });
    view.addEventListener('keydown', (event) => { if (event.key === 'Escape' && !hcurve.dialogOpen) view.hidden = true; });
    head.append(name, close);
    const tools = document.createElement('div');
    tools.className = 'tool-bar';
    const body = document.createElement('div');
    body.className = 'tool-body';
    view.append(head, tools, body);
    $('#curve-page').append(view);
    return { view, tools, body };
  }

  // The table's rows are made only as they come into sight.
  function stakeTable(module) {
    const { view, body } = toolView('stake-table-view', '中桩成果表');
    const rowHeight = () => header.getBoundingClientRect().height || 30;
    const table = document.createElement('div');
    table.className = 'stake-table';
    const header = document.createElement('div');
    header.className = 'stake-row stake-header';
    const scroller = document.createElement('div');
    scroller.className = 'stake-scroll';
    const spacer = document.createElement('div');
    spacer.className = 'stake-spacer';
    scroller.append(spacer);
    table.append(header, scroller);
    body.append(table);
    let rows = [];
    const draw = () => {
      const ROW = rowHeight();
      const first = Math.max(0, Math.floor(scroller.scrollTop / ROW) - 5);
      const last = Math.min(rows.length, first + Math.ceil(scroller.clientHeight / ROW) + 10);
      spacer.replaceChildren();
      for (let i = first; i < last; ++i) {
        const row = document.createElement('div');
        row.className = 'stake-row';
        row.style.top = i * ROW + 'px';
        for (const text of rows[i]) {
          const cell = document.createElement('span');
          cell.textContent = text;
          row.append(cell);
        }
        spacer.append(row);
      }
    };
    scroller.addEventListener('scroll', () => requestAnimationFrame(draw));
    const refresh = () => {
      const lines = module.UTF8ToString(module._hcurve_stake_table()).split('\n').filter((l) => l !== '');
      const [head, ...rest] = lines;
      header.replaceChildren(...head.split('\t').map((t) => Object.assign(document.createElement('span'), { textContent: t })));
      rows = rest.map((l) => l.split('\t'));
      spacer.style.height = rows.length * rowHeight() + 'px';
      table.dataset.rows = String(rows.length);
      draw();
    };
    return { view, refresh, get open() { return !view.hidden; }, show() { view.hidden = false; refresh(); view.querySelector('.dialog-close').focus(); } };
  }

  function planView(module, save) {
    const { view, tools, body } = toolView('plan-view', '平面图');
    const fit = hcurve.button('适合窗口', { title: '整条曲线放进窗口 (也可双击图面)' });
    const saveButton = hcurve.button('保存平面图…', { title: '保存为 PNG 或 SVG 图片，或存为 DXF 图形供 CAD 使用' });
    tools.append(fit, saveButton);
    const ns = 'http://www.w3.org/2000/svg';
    let svg = null;
    let scene = null;
    let zoom = 1, panX = 0, panY = 0;

    function readScene(text) {
      const s = { marks: [], stakes: [] };
      for (const line of text.split('\n')) {
        if (line === '') continue;
        const c = line.split('\t');
        const points = (from) => { const p = []; for (let i = from; i + 1 < c.length; i += 2) p.push({ x: +c[i], y: +c[i + 1] }); return p; };
        switch (c[0]) {
          case 'title': s.title = c[1]; break;
          case 'jd': s.jdName = c[1]; s.jd = points(2)[0]; break;
          case 'centre': s.centre = points(1)[0]; break;
          case 'tangents': s.tangents = points(1); break;
          case 'centreline': s.centreLine = points(1); break;
          case 'mark': s.marks.push({ name: c[1], chainage: c[2], at: { x: +c[3], y: +c[4] } }); break;
          case 'stake': s.stakes.push({ chainage: c[1], at: { x: +c[2], y: +c[3] }, left: [], right: [] }); break;
          case 'left': s.stakes.at(-1).left = points(1); break;
          case 'right': s.stakes.at(-1).right = points(1); break;
        }
      }
      return s;
    }

    // North up, east right: a world point (X north, Y east) to the drawing's pixels.
    function draw() {
      body.replaceChildren();
      const width = Math.max(200, body.clientWidth), height = Math.max(200, body.clientHeight);
      svg = document.createElementNS(ns, 'svg');
      svg.setAttribute('xmlns', ns);
      svg.setAttribute('width', width);
      svg.setAttribute('height', height);
      svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
      const add = (tag, attrs, text) => {
        const e = document.createElementNS(ns, tag);
        for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, v);
        if (text !== undefined) e.textContent = text;
        svg.append(e);
        return e;
      };
      add('rect', { x: 0, y: 0, width, height, fill: '#ffffff' });
      if (!scene) {
        add('text', { x: width / 2, y: height / 2, 'text-anchor': 'middle', 'font-size': 16 }, '尚无曲线：请先点击“开始计算”。');
        body.append(svg);
        return;
      }
      const all = [...scene.centreLine, ...scene.tangents, scene.centre];
      for (const st of scene.stakes) all.push(st.at, ...st.left, ...st.right);
      const north = all.map((p) => p.x), east = all.map((p) => p.y);
      const [n0, n1, e0, e1] = [Math.min(...north), Math.max(...north), Math.min(...east), Math.max(...east)];
      const scale = zoom * 0.85 * Math.min(width / Math.max(e1 - e0, 1e-9), (height - 40) / Math.max(n1 - n0, 1e-9));
      const cn = (n0 + n1) / 2, ce = (e0 + e1) / 2;
      const at = (p) => [width / 2 + (p.y - ce) * scale + panX, 20 + (height - 40) / 2 - (p.x - cn) * scale + panY];
      const path = (points) => points.map((p, i) => (i ? 'L' : 'M') + at(p).map((v) => v.toFixed(2)).join(' ')).join(' ');
      add('path', { d: path(scene.tangents), fill: 'none', stroke: '#808080', 'stroke-width': 1, 'stroke-dasharray': '6 4' });
      add('path', { d: path(scene.centreLine), fill: 'none', stroke: '#0000c0', 'stroke-width': 2 });
      const dot = (p, r, colour) => { const [x, y] = at(p); add('circle', { cx: x, cy: y, r, fill: colour }); };
      const label = (p, text, colour, dy = -6) => { const [x, y] = at(p); add('text', { x: x + 5, y: y + dy, fill: colour, 'font-size': 12 }, text); };
      for (const st of scene.stakes) {
        for (const p of st.left) dot(p, 2.5, '#008000');
        for (const p of st.right) dot(p, 2.5, '#e07000');
        dot(st.at, 2.5, '#000000');
      }
      for (const m of scene.marks) { dot(m.at, 4, '#d00000'); label(m.at, `${m.name} ${m.chainage}`, '#d00000'); }
      dot(scene.jd, 4, '#000000'); label(scene.jd, scene.jdName, '#000000');
      dot(scene.centre, 3, '#808080'); label(scene.centre, '圆心', '#808080');
      add('text', { x: 10, y: 18, 'font-size': 14, 'font-weight': 'bold' }, scene.title);
      add('text', { x: width - 20, y: 20, 'font-size': 14, 'text-anchor': 'middle' }, '北');
      add('path', { d: `M${width - 20} 26 L${width - 26} 40 L${width - 14} 40 Z`, fill: '#000' });
      body.append(svg);
    }

    const refresh = (refit = true) => {
      const text = module.UTF8ToString(module._hcurve_plan_scene());
      scene = text ? readScene(text) : null;
      if (refit) { zoom = 1; panX = panY = 0; }
      draw();
    };
    fit.addEventListener('click', () => refresh(true));
    body.addEventListener('dblclick', () => refresh(true));
    body.addEventListener('wheel', (event) => { event.preventDefault(); zoom *= event.deltaY < 0 ? 1.2 : 1 / 1.2; draw(); }, { passive: false });
    let drag = null;
    body.addEventListener('pointerdown', (event) => { drag = { x: event.clientX - panX, y: event.clientY - panY }; body.setPointerCapture(event.pointerId); });
    body.addEventListener('pointermove', (event) => { if (drag) { panX = event.clientX - drag.x; panY = event.clientY - drag.y; draw(); } });
    body.addEventListener('pointerup', () => { drag = null; });
    saveButton.addEventListener('click', () => save(() => svg));
    return { view, refresh: () => refresh(false), get open() { return !view.hidden; }, show() { view.hidden = false; refresh(true); fit.focus(); } };
  }

  // The plan as a PNG picture of the size it is drawn.
  function svgToPng(text, svg) {
    return new Promise((resolve, reject) => {
      const image = new Image();
      const url = URL.createObjectURL(new Blob([text], { type: 'image/svg+xml' }));
      image.onload = () => {
        const canvas = document.createElement('canvas');
        canvas.width = +svg.getAttribute('width');
        canvas.height = +svg.getAttribute('height');
        canvas.getContext('2d').drawImage(image, 0, 0);
        URL.revokeObjectURL(url);
        canvas.toBlob((blob) => blob.arrayBuffer().then((b) => resolve(new Uint8Array(b)), reject), 'image/png');
      };
      image.onerror = () => { URL.revokeObjectURL(url); reject(new Error('the plan could not be drawn')); };
      image.src = url;
    });
  }

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
            piece.dataset.x = cell[i];
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
