// The route page (路线): the route window of the desktop in the browser. Its files are written into
// the module's memory file system and every table, drawing and download is a run of `hcurve route`
// on them in the C++ code (src/web/route_page.h); this script only shows what the runs give: it
// splits their CSV text into rows and makes the rows a table shows as it is scrolled.
'use strict';

const hcurveRoute = (() => {
  const $ = (selector, root = document) => root.querySelector(selector);
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  let module = null;

  // ---- The C++ side ----
  // Writes strings (each ended by a NUL) or a name and bytes into the module's buffer.
  function toBuffer(parts) {
    const encoded = parts.map((p) => (typeof p === 'string' ? encoder.encode(p) : p));
    const size = encoded.reduce((n, p) => n + p.length, 0);
    const at = module._hcurve_route_buffer(size);
    let offset = 0;
    for (const p of encoded) {
      module.HEAPU8.set(p, at + offset);
      offset += p.length;
    }
    return { size, sizes: encoded.map((p) => p.length) };
  }
  const bytesAt = (pointer, size) => module.HEAPU8.slice(pointer, pointer + size);
  const lastOut = () => bytesAt(module._hcurve_route_out(), module._hcurve_route_out_size());
  const lastErr = () => decoder.decode(bytesAt(module._hcurve_route_err(), module._hcurve_route_err_size()));

  // One run of `hcurve route` (kind 0), its plan drawn as SVG (1), or the profile (2).
  function call(kind, args) {
    const { size } = toBuffer(args.map((a) => a + '\0'));
    const status = module._hcurve_route_call(kind, size);
    return { status, out: decoder.decode(lastOut()), err: lastErr() };
  }
  const run = (args) => call(0, args);
  // The same with the output's bytes as the run wrote them (a download).
  function runBytes(args) {
    const { size } = toBuffer(args.map((a) => a + '\0'));
    const status = module._hcurve_route_call(0, size);
    return { status, bytes: lastOut(), err: lastErr() };
  }

  // Makes a folder the current one of the runs (the files of one opening live in one).
  function enter(folder) {
    const { size } = toBuffer([folder]);
    module._hcurve_route_folder(size);
  }
  // Puts a file where the runs find it: kind 0 its bytes, 1 a folder, 2 a file nobody may read.
  function put(name, bytes, kind) {
    const { sizes } = toBuffer([name, bytes || new Uint8Array(0)]);
    return module._hcurve_route_put(sizes[0], sizes[1], kind) === 0 ? null : lastErr();
  }
  // Removes a file or folder the page no longer reads.
  function remove(name) {
    const { size } = toBuffer([name]);
    module._hcurve_route_remove(size);
  }
  // The bytes of a file a run wrote (a download), which is then removed.
  function take(name) {
    const { size } = toBuffer([name]);
    return module._hcurve_route_take(size) === 0 ? lastOut() : null;
  }

  // The lines of a run's error stream as the desktop window words them: without the program's
  // name before each, the options named by the form's captions.
  const kOptionNames = [['--left ', '左侧距离'], ['--right ', '右侧距离']];
  function messageOf(err) {
    return err.split('\n').filter((l) => l !== '').map((line) => {
      let l = line.startsWith('hcurve: ') ? line.slice(8) : line;
      for (const [option, caption] of kOptionNames) if (l.startsWith(option)) l = caption + l.slice(option.length);
      return l;
    }).join('\n');
  }

  // ---- CSV text into rows (the script dialect: LF, fields quoted where they hold , or ") ----
  function splitLines(text) {
    const lines = text.split('\n');
    if (lines.length && lines[lines.length - 1] === '') lines.pop();
    return lines;
  }
  function splitFields(line) {
    if (line.indexOf('"') < 0) return line.split(',');
    const fields = [];
    let field = '', quoted = false;
    for (let i = 0; i < line.length; ++i) {
      const c = line[i];
      if (quoted) {
        if (c === '"' && line[i + 1] === '"') { field += '"'; ++i; } else if (c === '"') quoted = false; else field += c;
      } else if (c === '"') quoted = true;
      else if (c === ',') { fields.push(field); field = ''; } else field += c;
    }
    fields.push(field);
    return fields;
  }

  // ---- A table whose rows are made as they are shown ----
  const kRowHeight = 26;
  const kExtraRows = 8;
  // Flush right: numbers and chainages, so that their digits stand under each other.
  const numeric = (cell) => /^-?\d+(\.\d+)?$/.test(cell) || /^K-?\d+[+-]\d/.test(cell);
  // A cell's width in character widths: a Chinese character is two.
  const widthOf = (text) => { let w = 0; for (const c of text) w += c.charCodeAt(0) > 0x2e7f ? 2 : 1; return w; };

  class VirtualTable {
    constructor(host, name) {
      this.host = host;
      this.host.classList.add('vt');
      this.host.tabIndex = 0;
      this.host.setAttribute('role', 'grid');
      this.host.setAttribute('aria-label', name);
      this.head = document.createElement('div');
      this.head.className = 'vt-head';
      this.body = document.createElement('div');
      this.body.className = 'vt-body';
      this.rowsBox = document.createElement('div');
      this.rowsBox.className = 'vt-rows';
      this.body.append(this.rowsBox);
      this.host.append(this.head, this.body);
      this.lines = [];
      this.header = [];
      this.shown = { first: -1, last: -1 };
      this.pending = false;
      this.selected = new Set();
      this.anchor = -1;
      this.host.addEventListener('scroll', () => this.schedule(), { passive: true });
      this.host.addEventListener('click', (event) => this.clicked(event));
      // Shift+ and Ctrl+click pick rows, not the text between two clicks.
      this.host.addEventListener('mousedown', (event) => {
        if ((event.shiftKey || event.ctrlKey || event.metaKey) && event.target.closest && event.target.closest('.vt-row')) event.preventDefault();
      });
      this.host.addEventListener('keydown', (event) => this.keyed(event));
      new ResizeObserver(() => this.schedule()).observe(this.host);
    }
    // lines: the CSV's lines, the header first.
    setLines(lines) {
      this.header = lines.length ? splitFields(lines[0]) : [];
      this.lines = lines.slice(1);
      // Column widths from the header and a sample of rows spread over the table.
      const widths = this.header.map((h) => widthOf(h));
      const sample = Math.min(this.lines.length, 200);
      for (let k = 0; k < sample; ++k) {
        const row = splitFields(this.lines[Math.floor(k * (this.lines.length - 1) / Math.max(sample - 1, 1))]);
        row.forEach((cell, c) => { widths[c] = Math.max(widths[c] || 0, widthOf(cell)); });
      }
      this.columns = widths.map((w) => `calc(${w + 1}ch + 12px)`).join(' ');
      this.host.style.setProperty('--columns', this.columns);
      this.head.replaceChildren(...this.header.map((h) => { const d = document.createElement('div'); d.textContent = h; return d; }));
      this.body.style.height = this.lines.length * kRowHeight + 'px';
      this.rowsBox.replaceChildren();
      this.shown = { first: -1, last: -1 };
      this.selected.clear();
      this.anchor = -1;
      this.host.scrollTop = 0;
      this.render();
    }
    get rowCount() { return this.lines.length; }
    schedule() {
      if (this.pending) return;
      this.pending = true;
      requestAnimationFrame(() => { this.pending = false; this.render(); });
    }
    render() {
      const top = Math.max(this.host.scrollTop - this.head.offsetHeight, 0);
      const height = this.host.clientHeight || 600;
      const first = Math.max(Math.floor(top / kRowHeight) - kExtraRows, 0);
      const last = Math.min(Math.ceil((top + height) / kRowHeight) + kExtraRows, this.lines.length);
      if (first === this.shown.first && last === this.shown.last) return;
      this.shown = { first, last };
      const rows = [];
      for (let r = first; r < last; ++r) {
        const row = document.createElement('div');
        row.className = 'vt-row';
        row.dataset.row = String(r);
        if (this.selected.has(r)) row.setAttribute('aria-selected', 'true');
        for (const cell of splitFields(this.lines[r])) {
          const d = document.createElement('div');
          d.textContent = cell;
          if (numeric(cell)) d.className = 'num';
          row.append(d);
        }
        rows.push(row);
      }
      this.rowsBox.style.transform = `translateY(${first * kRowHeight}px)`;
      this.rowsBox.replaceChildren(...rows);
    }
    // Rows are selected as in the window's tables: a click selects one, Ctrl+click adds or takes
    // one away, Shift+click the rows from the last one clicked; a finger's tap adds or takes away,
    // so that several rows can be picked on a phone. Ctrl+A selects them all.
    clicked(event) {
      const row = event.target.closest && event.target.closest('.vt-row');
      if (!row) return;
      const r = Number(row.dataset.row);
      if (event.shiftKey && this.anchor >= 0) {
        if (!event.ctrlKey && !event.metaKey) this.selected.clear();
        for (let k = Math.min(r, this.anchor); k <= Math.max(r, this.anchor); ++k) this.selected.add(k);
      } else if (event.ctrlKey || event.metaKey || event.pointerType === 'touch') {
        if (this.selected.has(r)) this.selected.delete(r); else this.selected.add(r);
        this.anchor = r;
      } else {
        this.selected.clear();
        this.selected.add(r);
        this.anchor = r;
      }
      this.showSelection();
    }
    showSelection() {
      for (const row of this.rowsBox.children) {
        if (this.selected.has(Number(row.dataset.row))) row.setAttribute('aria-selected', 'true');
        else row.removeAttribute('aria-selected');
      }
    }
    keyed(event) {
      if (!(event.ctrlKey || event.metaKey) || event.altKey) return;
      const key = event.key.toLowerCase();
      if (key === 'c') {
        event.preventDefault();
        copyText(this.copied());
      } else if (key === 'a') {
        event.preventDefault();
        this.selected = new Set(this.lines.keys());
        this.showSelection();
      }
    }
    // The selected rows (every row when none is), the header first, as tab-separated text that
    // pastes into a spreadsheet column by column, each line ended.
    copied() {
      const rows = this.selected.size ? [...this.selected].sort((a, b) => a - b) : [...this.lines.keys()];
      const out = [this.header.join('\t')];
      for (const r of rows) out.push(splitFields(this.lines[r]).join('\t'));
      return this.header.length ? out.join('\n') + '\n' : '';
    }
  }

  // ---- The clipboard ----
  // The text goes to the clipboard through the browser's copy command, whose event carries it;
  // where the browser offers no such command, through its clipboard interface.
  let pendingCopy = null;
  document.addEventListener('copy', (event) => {
    if (pendingCopy === null || !event.clipboardData) return;
    event.clipboardData.setData('text/plain', pendingCopy);
    event.preventDefault();
    pendingCopy = null;
  });
  function copyText(text) {
    if (text === '') return false;
    pendingCopy = text;
    let copied = false;
    try { copied = document.execCommand('copy'); } catch (error) { copied = false; }
    if (pendingCopy !== null) {
      pendingCopy = null;
      copied = false;
    }
    if (!copied && navigator.clipboard) {
      navigator.clipboard.writeText(text).catch(() => {});
      copied = true;
    }
    return copied;
  }

  // ---- The page ----
  const state = {
    folder: 0,         // the folder of the files read
    files: [],         // [{name, bytes, kind}] in the order given, the route's own table first
    names: [],         // the names as the runs read them
    stakeArgs: null,   // the options of the stake table last shown
    hasElements: false,
    hasGrade: false,
    hasSection: false,
  };
  let ui = null;

  const kTabs = [
    ['elements', '曲线要素表'], ['segments', '线元表'], ['stakes', '中桩表'], ['plan', '平面图'],
    ['vertical', '竖曲线表'], ['profile', '纵断面图'], ['sections', '横断面'], ['locate', '坐标反算'],
  ];
  const kForm = [
    ['interval', '桩距 (米)', '20'], ['from', '起点 (里程或桩号，空为 BP)', ''], ['to', '终点 (里程或桩号，空为 EP)', ''],
    ['left', '左侧距离 (米，逗号分开)', ''], ['right', '右侧距离 (米，逗号分开)', ''], ['skew', '斜交角 (度.分秒，空为正交)', ''],
  ];
  const kExports = [
    ['CSV 表格 (*.csv)', '.csv'], ['点文件 name,code,Y,X,H (*.dat)', '.dat'], ['全站仪点文件 Leica GSI-16 (*.gsi)', '.gsi'],
    ['平面图 DXF，供 CAD 使用 (*.dxf)', '.dxf'], ['LandXML 1.2 路线 (*.xml)', '.xml'],
  ];

  function build(section) {
    section.innerHTML = `
      <div class="route-top">
        <span class="route-files">还没有打开路线：打开交点表、线元表或 LandXML 文件，或把文件拖到这里。</span>
        <button type="button" class="route-open">打开交点表…</button>
        <button type="button" class="route-add" disabled title="把另一个文件（纵断面、横坡或断链表，可在别的文件夹）加到这条路线">添加纵断面/横坡…</button>
        <input type="file" class="route-open-input" multiple accept=".csv,.txt,.xml,text/csv,text/plain,application/xml" hidden>
        <input type="file" class="route-add-input" multiple accept=".csv,.txt,text/csv,text/plain" hidden>
      </div>
      <div class="route-tabs" role="tablist"></div>
      <div class="route-panels">
        <div class="route-panel" data-panel="elements"><div class="route-table" data-table="elements"></div></div>
        <div class="route-panel" data-panel="segments"><div class="route-table" data-table="segments"></div></div>
        <div class="route-panel" data-panel="stakes">
          <form class="route-form" autocomplete="off"></form>
          <div class="route-buttons">
            <button type="submit" form="route-stake-form" class="route-compute">计算中桩</button>
            <button type="button" class="route-export">导出…</button>
            <label class="route-edges" hidden title="每个部件外边缘的偏距和高程（含加宽、超高）"><input type="checkbox" name="edges">显示边缘</label>
          </div>
          <div class="route-note" role="status"></div>
          <div class="route-table" data-table="stakes"></div>
        </div>
        <div class="route-panel" data-panel="plan">
          <div class="route-buttons">
            <button type="button" class="plan-fit" title="整条路线放进窗口 (也可双击图面)">适合窗口</button>
            <button type="button" class="plan-save" title="按所见保存为 SVG 文件，或存为 DXF 图形供 CAD 使用">保存平面图…</button>
          </div>
          <div class="route-drawing plan-drawing"></div>
        </div>
        <div class="route-panel" data-panel="vertical"><div class="route-table" data-table="vertical"></div></div>
        <div class="route-panel" data-panel="profile">
          <div class="route-buttons"><button type="button" class="profile-save">保存纵断面图…</button></div>
          <div class="route-drawing profile-drawing"></div>
        </div>
        <div class="route-panel" data-panel="sections">
          <div class="route-note sections-note">每个中桩的设计横断面（桩号、里程和各折点的偏距、高程），按中桩表的桩距和范围。</div>
          <div class="route-table" data-table="sections"></div>
        </div>
        <div class="route-panel" data-panel="locate">
          <form class="route-locate" autocomplete="off">
            <label>X (北)<input name="x" inputmode="decimal" enterkeyhint="next"></label>
            <label>Y (东)<input name="y" inputmode="decimal" enterkeyhint="next"></label>
            <label>实测高程 H (可空)<input name="h" inputmode="decimal" enterkeyhint="done"></label>
            <button type="submit">计算</button>
          </form>
          <div class="route-note locate-note" role="status"></div>
          <dl class="locate-result"></dl>
          <div class="route-buttons locate-points-buttons">
            <button type="button" class="locate-open" title="点文件：表头 点名,X,Y，可再有 H（CSV，UTF-8 或 GBK），也可把文件拖到这里">打开点文件…</button>
            <button type="button" class="locate-export" disabled>导出…</button>
            <input type="file" class="locate-open-input" accept=".csv,.txt,text/csv,text/plain" hidden>
          </div>
          <div class="route-note locate-points-note" role="status"></div>
          <div class="route-table" data-table="locate"></div>
        </div>
      </div>`;
    const tabs = $('.route-tabs', section);
    for (const [id, caption] of kTabs) {
      const tab = document.createElement('button');
      tab.type = 'button';
      tab.setAttribute('role', 'tab');
      tab.dataset.tab = id;
      tab.textContent = caption;
      tab.hidden = true;
      tab.addEventListener('click', () => showTab(id));
      tabs.append(tab);
    }
    const form = $('.route-form', section);
    form.id = 'route-stake-form';
    for (const [name, caption, initial] of kForm) {
      const label = document.createElement('label');
      label.textContent = caption;
      const input = document.createElement('input');
      input.name = name;
      input.value = storage('route/' + name) ?? initial;
      // The numeric keyboard where only numbers go; a stretch end may be a 桩号 (K12+500).
      input.inputMode = name === 'from' || name === 'to' ? 'text' : 'decimal';
      input.autocapitalize = 'characters';
      input.spellcheck = false;
      label.append(input);
      form.append(label);
    }
    ui = {
      section,
      files: $('.route-files', section),
      tables: {},
      note: $('.route-panel[data-panel="stakes"] .route-note', section),
      plan: $('.plan-drawing', section),
      profile: $('.profile-drawing', section),
      form,
      locate: $('.route-locate', section),
    };
    for (const host of section.querySelectorAll('.route-table'))
      ui.tables[host.dataset.table] = new VirtualTable(host, kTabs.find(([id]) => id === host.dataset.table)[1]);

    $('.route-open', section).addEventListener('click', () => $('.route-open-input', section).click());
    $('.route-add', section).addEventListener('click', () => $('.route-add-input', section).click());
    $('.route-open-input', section).addEventListener('change', (event) => {
      const picked = [...event.target.files].map((file) => ({ file }));
      event.target.value = '';
      if (picked.length) openFiles(picked, false);
    });
    $('.route-add-input', section).addEventListener('change', (event) => {
      const picked = [...event.target.files].map((file) => ({ file }));
      event.target.value = '';
      if (picked.length) openFiles(picked, true);
    });
    // Files dropped on the page: a route opened, or (with one open) added when they hold no route
    // of their own... the desktop tells those apart by the button: here the drop opens, and a drop
    // on 添加纵断面/横坡… adds.
    const over = (event) => { event.preventDefault(); event.stopPropagation(); };
    section.addEventListener('dragover', over);
    section.addEventListener('drop', (event) => {
      event.preventDefault();
      event.stopPropagation();
      const dropped = droppedFiles(event);
      if (!dropped.length) return;
      const within = (selector) => state.files.length > 0 && event.target.closest && event.target.closest(selector);
      // On 坐标反算's panel a drop is a file of points to locate on the route shown.
      if (within('.route-panel[data-panel="locate"]')) { openPointFile(dropped[0]); return; }
      openFiles(dropped, Boolean(within('.route-add')));
    });
    form.addEventListener('submit', (event) => { event.preventDefault(); computeStakes(); });
    // 显示边缘 shows the stakes last computed again, with the edges or without.
    $('.route-edges input', section).addEventListener('change', () => { if (state.stakeArgs) computeStakes(state.stakeArgs.form); });
    $('.route-export', section).addEventListener('click', exportStakes);
    $('.plan-fit', section).addEventListener('click', () => fitPlan());
    $('.plan-save', section).addEventListener('click', savePlan);
    $('.profile-save', section).addEventListener('click', saveProfile);
    ui.locate.addEventListener('submit', (event) => { event.preventDefault(); locateShown(); });
    $('.locate-open', section).addEventListener('click', () => $('.locate-open-input', section).click());
    $('.locate-open-input', section).addEventListener('change', (event) => {
      const picked = [...event.target.files];
      event.target.value = '';
      if (picked.length) openPointFile({ file: picked[0] });
    });
    $('.locate-export', section).addEventListener('click', exportLocated);
    planGestures(ui.plan);
    addTableTools(section);
    addDrawingTools(section);
    addSectionDrawing(section);
  }

  // 复制 and 打印 beside every table (in the stake table's own row of buttons): a finger has no
  // Ctrl+C.
  function addTableTools(section) {
    for (const host of section.querySelectorAll('.route-table')) {
      const id = host.dataset.table;
      const panel = host.closest('.route-panel');
      let bar = id === 'stakes' ? $('.route-buttons', panel) : null;
      if (!bar) {
        bar = document.createElement('div');
        bar.className = 'route-buttons';
        host.before(bar);
      }
      const copy = hcurve.button('复制', { title: '把选中的行（没有选中时整个表）连同表头复制为以制表符分开的文本，可贴进电子表格 (Ctrl+C)', className: 'table-copy' });
      const print = hcurve.button('打印', { title: '在 A4 纸上打印整个表，或存为 PDF', className: 'table-print' });
      const said = document.createElement('span');
      said.className = 'table-copied';
      said.setAttribute('role', 'status');
      const edges = $('.route-edges', bar);
      if (edges) edges.before(copy, print); else bar.append(copy, print);
      bar.append(said);
      const table = ui.tables[id];
      copy.addEventListener('click', () => {
        const text = table.copied();
        said.textContent = text !== '' && copyText(text) ? copiedNote(table) : '';
      });
      print.addEventListener('click', () => printTable(table, kTabs.find(([tab]) => tab === id)[1]));
    }
  }
  const copiedNote = (table) => `已复制 ${table.selected.size || table.rowCount} 行。`;

  // 打印 of the plan and the profile, and the pointer's coordinates on the plan.
  function addDrawingTools(section) {
    for (const [panel, kind] of [['plan', 'plan'], ['profile', 'profile']]) {
      const bar = $(`.route-panel[data-panel="${panel}"] .route-buttons`, section);
      const print = document.createElement('button');
      print.type = 'button';
      print.className = kind + '-print';
      print.textContent = kind === 'plan' ? '打印' : '打印纵断面图';
      print.title = '按所见在 A4 纸上打印，或存为 PDF';
      print.addEventListener('click', () => printDrawing(kind === 'plan' ? ui.plan : ui.profile, kind === 'plan' ? '平面图' : '纵断面图'));
      bar.append(print);
    }
    ui.planPoint = document.createElement('span');
    ui.planPoint.className = 'plan-coordinates';
    $('.route-panel[data-panel="plan"] .route-buttons', section).append(ui.planPoint);
    planPointer(ui.plan);
  }

  function storage(key) {
    try { return localStorage.getItem('hcurve.' + key); } catch (e) { return null; }
  }
  function keep(key, value) {
    try { localStorage.setItem('hcurve.' + key, value); } catch (e) { /* kept nowhere */ }
  }

  // The files of a drop: each with what it is (a folder dropped is a folder).
  function droppedFiles(event) {
    const items = event.dataTransfer ? [...event.dataTransfer.items] : [];
    if (items.length && items[0].webkitGetAsEntry) {
      return items.filter((item) => item.kind === 'file').map((item) => {
        const entry = item.webkitGetAsEntry();
        if (entry && entry.isDirectory) return { name: entry.name, folder: true };
        return { file: item.getAsFile() };
      });
    }
    return event.dataTransfer ? [...event.dataTransfer.files].map((file) => ({ file })) : [];
  }

  // The bytes of a chosen file; a folder, or a file the browser cannot read, is put as what it is
  // so that the route's reader says of it what it says on the desktop.
  async function readChosen(chosen) {
    if (chosen.folder) return { name: chosen.name, bytes: null, kind: 1 };
    try {
      return { name: chosen.file.name, bytes: new Uint8Array(await chosen.file.arrayBuffer()), kind: 0 };
    } catch (error) {
      return { name: chosen.file.name, bytes: null, kind: 2 };
    }
  }

  // Opens the files as a route (added: after the files of the route shown). The route shown stays
  // as it was, tables and stakes, when the files cannot be read.
  async function openFiles(chosen, added) {
    const read = await Promise.all(chosen.map(readChosen));
    const files = (added ? state.files : []).concat(read);
    // Each opening in a folder of its own, so that a refused file never replaces one the route
    // shown was read from; two files of one name (from two folders) are told apart by a folder.
    const folder = state.folder + 1;
    enter('/files/' + folder);
    const names = [];
    for (const f of files) {
      let name = f.name;
      for (let k = 2; names.includes(name); ++k) name = k + '/' + f.name;
      names.push(name);
      const failure = put(name, f.bytes, f.kind);
      if (failure !== null) {
        await back(state.folder);
        await hcurve.message(failure, { error: true, title: added ? '文件有错' : '交点表有错' });
        return;
      }
    }
    const read0 = run(names.concat(['--segments']));
    if (read0.status !== 0) {
      await back(state.folder);
      await hcurve.message(messageOf(read0.err), { error: true, title: added ? '文件有错' : '交点表有错' });
      return;
    }
    const wasGraded = state.hasGrade;
    if (state.folder > 0) remove('/files/' + state.folder);
    state.folder = folder;
    state.files = files;
    state.names = names;
    const hadStakes = state.stakeArgs !== null && added;
    if (!added) state.stakeArgs = null;
    showRoute(read0.out);
    if (hadStakes) computeStakes(state.stakeArgs.form);
    else clearStakes();
    if (read0.err) await hcurve.message(messageOf(read0.err), { title: '注意' });
    if (added && !wasGraded && state.hasGrade) showTab('profile');
  }

  // Back to the folder of the route shown (nothing read: the page had none).
  async function back(folder) {
    enter('/files/' + folder);
  }

  const baseName = () => {
    if (!state.files.length) return '路线';
    const name = state.files[0].name;
    const dot = name.lastIndexOf('.');
    return dot > 0 ? name.slice(0, dot) : name;
  };

  function showRoute(segments) {
    ui.files.textContent = '文件：' + state.files.map((f) => f.name).join(', ');
    $('.route-add', ui.section).disabled = false;
    const elements = run(state.names.concat(['--elements']));
    state.hasElements = elements.status === 0;
    if (state.hasElements) ui.tables.elements.setLines(splitLines(elements.out));
    ui.tables.segments.setLines(splitLines(segments));
    const vertical = run(state.names.concat(['--vertical']));
    state.hasGrade = vertical.status === 0;
    if (state.hasGrade) {
      ui.tables.vertical.setLines(splitLines(vertical.out));
      const profile = call(2, state.names);
      ui.profile.innerHTML = profile.status === 0 ? profile.out : '';
    }
    // A template gives the 横断面 tab and the edges of the stake table.
    state.hasSection = call(3, state.names).out.split('\n').includes('section');
    $('.route-edges', ui.section).hidden = !state.hasSection;
    if (!state.hasSection) $('.route-edges input', ui.section).checked = false;
    showGroundStakes();
    const shown = { elements: state.hasElements, segments: true, stakes: true, plan: true,
      vertical: state.hasGrade, profile: state.hasGrade, sections: state.hasSection, locate: true };
    for (const tab of ui.section.querySelectorAll('.route-tabs [data-tab]')) tab.hidden = !shown[tab.dataset.tab];
    clearLocated();
    drawPlan();
    const current = ui.section.dataset.tab;
    showTab(current && shown[current] ? current : state.hasElements ? 'elements' : 'segments');
  }

  function showTab(id) {
    ui.section.dataset.tab = id;
    for (const tab of ui.section.querySelectorAll('.route-tabs [data-tab]')) tab.setAttribute('aria-selected', tab.dataset.tab === id ? 'true' : 'false');
    for (const panel of ui.section.querySelectorAll('.route-panel')) panel.hidden = panel.dataset.panel !== id;
    const table = ui.tables[id] || (id === 'stakes' ? ui.tables.stakes : null);
    if (table) table.schedule();
    if (id === 'plan' && ui.planStale) drawPlan();
  }

  // The form's values as the options of `hcurve route --stakes`; empty fields are left out.
  function stakeOptions(form) {
    const options = ['--interval', form.interval];
    for (const [name, option] of [['from', '--from'], ['to', '--to'], ['left', '--left'], ['right', '--right'], ['skew', '--skew']]) {
      const value = form[name].trim();
      if (value !== '') options.push(option, value);
    }
    return options;
  }
  const formValues = () => Object.fromEntries(kForm.map(([name]) => [name, ui.form.elements[name].value]));

  function clearStakes() {
    ui.tables.stakes.setLines([]);
    ui.note.textContent = '';
  }

  // 计算中桩: the stake table of the form (or of the form given); why not, in a message, with the
  // table left as it was.
  function computeStakes(form = formValues()) {
    if (!state.names.length) {
      hcurve.message('还没有打开路线。', { error: true, title: '中桩表' });
      return false;
    }
    const options = stakeOptions(form);
    const edges = state.hasSection && $('.route-edges input', ui.section).checked ? ['--edges'] : [];
    const result = run(state.names.concat(['--stakes'], options, edges));
    if (result.status !== 0) {
      hcurve.message(messageOf(result.err), { error: true, title: '中桩表' });
      return false;
    }
    state.stakeArgs = { form, options, edges };
    ui.tables.stakes.setLines(splitLines(result.out));
    if (state.hasSection) {
      // The sections of the same stakes: the interval and the stretch of the form.
      const stretch = options.filter((o, i) => ['--interval', '--from', '--to'].includes(o) || ['--interval', '--from', '--to'].includes(options[i - 1]));
      const sections = run(state.names.concat(['--sections'], stretch));
      ui.tables.sections.setLines(sections.status === 0 ? splitLines(sections.out) : []);
    }
    ui.note.textContent = messageOf(result.err);
    for (const [name] of kForm) keep('route/' + name, form[name]);
    ui.planStale = true;
    if (ui.section.dataset.tab === 'plan') drawPlan();
    return true;
  }

  // ---- Downloads, byte for byte the files `hcurve route` writes ----
  const kTypes = { '.csv': 'text/csv', '.dat': 'text/plain', '.gsi': 'text/plain', '.dxf': 'application/dxf',
    '.xml': 'application/xml', '.svg': 'image/svg+xml' };
  const extensionOf = (name) => { const dot = name.lastIndexOf('.'); return dot < 0 ? '' : name.slice(dot).toLowerCase(); };

  // The name a download is saved under: the one the desktop proposes, or the one the user gives
  // in the page's save dialog (without an extension, the chosen type's).
  async function chooseName(title, proposed, types) {
    if (!hcurve.chooseSave) return proposed;
    const answer = await hcurve.chooseSave(title, proposed, types.map(([caption]) => caption).join('\t'));
    if (answer === null || answer === undefined) return null;
    const tab = answer.indexOf('\t');
    const index = Number(answer.slice(0, tab));
    let name = answer.slice(tab + 1);
    // The name proposed takes the type chosen; a name typed keeps its own extension, as on the
    // desktop, and one without gets the type's.
    if (name === proposed) name = name.slice(0, name.length - extensionOf(name).length) + types[index][1];
    else if (!types.some(([, ext]) => extensionOf(name) === ext)) name += types[index][1];
    return name;
  }

  // Writes name with a run and hands its bytes to the browser as a download.
  async function runDownload(args, name, title) {
    const result = run(args);
    if (result.status !== 0) {
      await hcurve.message(messageOf(result.err), { error: true, title });
      take(name);
      return false;
    }
    const bytes = take(name);
    if (bytes === null) return false;
    hcurve.download(name.slice(name.lastIndexOf('/') + 1), bytes, kTypes[extensionOf(name)] || 'application/octet-stream');
    if (result.err) await hcurve.message(messageOf(result.err), { title: '注意' });
    return true;
  }

  const safeName = (name) => name.replace(/[\\/]/g, '_');

  async function exportStakes() {
    if (!state.names.length) return;
    const chosen = await chooseName('导出中桩坐标', baseName() + '-中桩坐标.csv', kExports);
    if (chosen === null) return;
    const name = safeName(chosen);
    const ext = extensionOf(name);
    if (ext === '.xml') return runDownload(state.names.concat(['--landxml', name]), name, '导出');
    if (ext === '.dxf') {
      const stakes = state.stakeArgs ? state.stakeArgs.options : [];
      return runDownload(state.names.concat(['--dxf', name], stakes), name, '导出');
    }
    if (!state.stakeArgs) {
      await hcurve.message('还没有计算中桩。', { title: '导出' });
      return false;
    }
    return runDownload(state.names.concat(['--stakes'], state.stakeArgs.options, state.stakeArgs.edges, ['--out', name]), name, '导出');
  }

  // ---- The plan and the profile ----
  function drawPlan() {
    if (!state.names.length) return;
    const stakes = state.stakeArgs ? state.stakeArgs.options : [];
    const drawn = call(1, state.names.concat(['--dxf', '平面图.dxf'], stakes));
    ui.planStale = false;
    if (drawn.status !== 0) return;
    ui.plan.innerHTML = drawn.out;
    ui.planSvg = drawn.out;
    fitPlan();
  }

  // The drawing's view box: zoomed about the pointer by the wheel, dragged, fitted.
  function fitPlan() {
    const svg = $('svg', ui.plan);
    if (!svg) return;
    svg.dataset.fit = svg.dataset.fit || svg.getAttribute('viewBox');
    svg.setAttribute('viewBox', svg.dataset.fit);
  }
  function planGestures(host) {
    const box = (svg) => svg.getAttribute('viewBox').split(' ').map(Number);
    host.addEventListener('wheel', (event) => {
      const svg = $('svg', host);
      if (!svg) return;
      event.preventDefault();
      const [x, y, w, h] = box(svg);
      const r = svg.getBoundingClientRect();
      // Units a screen pixel of the picture as it is fitted in (meet): the larger share.
      const scale = Math.max(w / r.width, h / r.height);
      const px = x + (event.clientX - r.left - (r.width - w / scale) / 2) * scale;
      const py = y + (event.clientY - r.top - (r.height - h / scale) / 2) * scale;
      const f = event.deltaY > 0 ? 1.25 : 0.8;
      svg.setAttribute('viewBox', [px - (px - x) * f, py - (py - y) * f, w * f, h * f].join(' '));
    }, { passive: false });
    let drag = null;
    host.addEventListener('pointerdown', (event) => {
      const svg = $('svg', host);
      if (!svg) return;
      drag = { x: event.clientX, y: event.clientY, box: box(svg), svg };
      host.setPointerCapture(event.pointerId);
    });
    host.addEventListener('pointermove', (event) => {
      if (!drag) return;
      const [x, y, w, h] = drag.box;
      const r = drag.svg.getBoundingClientRect();
      const scale = Math.max(w / r.width, h / r.height);
      drag.svg.setAttribute('viewBox', [x - (event.clientX - drag.x) * scale, y - (event.clientY - drag.y) * scale, w, h].join(' '));
    });
    const end = () => { drag = null; };
    host.addEventListener('pointerup', end);
    host.addEventListener('pointercancel', end);
    host.addEventListener('dblclick', () => fitPlan());
  }

  // The pointer's place on the plan as X (北) and Y (东), as the window's status line shows it: the
  // point of the picture under the pointer (the browser's own mapping of the screen to the
  // picture), placed on the ground by the corner the picture states (data-north, data-west), and
  // worded by the C++ side. A tap on a phone shows it too; leaving the drawing clears it.
  function planPointer(host) {
    const show = (event) => {
      const svg = $('svg', host);
      const matrix = svg && svg.dataset.north !== undefined ? svg.getScreenCTM() : null;
      if (!matrix) return;
      const at = new DOMPoint(event.clientX, event.clientY).matrixTransform(matrix.inverse());
      const x = Number(svg.dataset.north) - at.y, y = Number(svg.dataset.west) + at.x;
      ui.planPoint.textContent = module.UTF8ToString(module._hcurve_route_plan_point(x, y));
    };
    host.addEventListener('pointermove', show);
    host.addEventListener('pointerdown', show);
    host.addEventListener('wheel', show, { passive: true });
    host.addEventListener('pointerleave', (event) => { if (event.pointerType === 'mouse') ui.planPoint.textContent = ''; });
  }

  // The plan as shown (its view box now), at the size it is drawn on the screen, for a picture.
  function shownPlan() {
    const svg = $('svg', ui.plan);
    if (!svg) return null;
    const box = svg.getBoundingClientRect();
    const copy = svg.cloneNode(true);
    copy.setAttribute('width', String(Math.max(Math.round(box.width), 1)));
    copy.setAttribute('height', String(Math.max(Math.round(box.height), 1)));
    return { text: new XMLSerializer().serializeToString(copy), width: box.width, height: box.height };
  }

  // The longer side of a plan saved as PNG, in pixels: the drawing as seen, scaled up to this.
  const kPngSide_px = 3000;
  // The plan as seen drawn onto a canvas at kPngSide_px (never smaller than on the screen); the
  // PNG file's bytes.
  function planPng() {
    const shown = shownPlan();
    if (!shown) return Promise.reject(new Error('no plan'));
    const scale = Math.max(kPngSide_px / Math.max(shown.width, shown.height), window.devicePixelRatio || 1, 1);
    return new Promise((resolve, reject) => {
      const image = new Image();
      const url = URL.createObjectURL(new Blob([shown.text], { type: 'image/svg+xml' }));
      image.onload = () => {
        const canvas = document.createElement('canvas');
        canvas.width = Math.round(shown.width * scale);
        canvas.height = Math.round(shown.height * scale);
        const context = canvas.getContext('2d');
        context.fillStyle = '#fff';
        context.fillRect(0, 0, canvas.width, canvas.height);
        context.drawImage(image, 0, 0, canvas.width, canvas.height);
        URL.revokeObjectURL(url);
        canvas.toBlob((blob) => (blob ? blob.arrayBuffer().then((b) => resolve(new Uint8Array(b)), reject)
          : reject(new Error('the plan could not be drawn'))), 'image/png');
      };
      image.onerror = () => { URL.revokeObjectURL(url); reject(new Error('the plan could not be drawn')); };
      image.src = url;
    });
  }

  // 保存平面图…: as the window proposes it, a PNG picture of the plan as seen; an SVG picture; the
  // plan for CAD.
  async function savePlan() {
    if (!state.names.length) return;
    const types = [['PNG 图片 (*.png)', '.png'], ['SVG 图形 (*.svg)', '.svg'], ['平面图 DXF，供 CAD 使用 (*.dxf)', '.dxf']];
    const chosen = await chooseName('保存平面图', baseName() + '-平面图.png', types);
    if (chosen === null) return;
    const name = safeName(chosen);
    if (extensionOf(name) === '.dxf') {
      const stakes = state.stakeArgs ? state.stakeArgs.options : [];
      return runDownload(state.names.concat(['--dxf', name], stakes), name, '保存平面图');
    }
    if (extensionOf(name) === '.png') {
      let bytes;
      try {
        bytes = await planPng();
      } catch (error) {
        await hcurve.message('平面图未能存为 PNG 图片。', { error: true, title: '保存平面图' });
        return false;
      }
      hcurve.download(name, bytes, 'image/png');
      return true;
    }
    hcurve.download(name, encoder.encode(ui.planSvg || ''), kTypes['.svg']);
    return true;
  }

  // ---- The 横断面 at a surveyed ground section, drawn by the C++ side as the sheets draw it ----
  function addSectionDrawing(section) {
    const panel = $('.route-panel[data-panel="sections"]', section);
    const bar = document.createElement('div');
    bar.className = 'route-buttons cross-tools';
    bar.hidden = true;
    const label = document.createElement('label');
    label.textContent = '横断面图 (测有地面线的桩号) ';
    const stake = document.createElement('select');
    stake.className = 'cross-stake';
    label.append(stake);
    const print = hcurve.button('打印', { title: '按所见在 A4 纸上打印这个横断面，或存为 PDF', className: 'cross-print' });
    bar.append(label, print);
    const drawing = document.createElement('div');
    drawing.className = 'route-drawing cross-drawing';
    drawing.hidden = true;
    $('.sections-note', panel).after(bar, drawing);
    stake.addEventListener('change', () => drawCrossSection());
    print.addEventListener('click', () => printDrawing(drawing, '横断面图 ' + stake.value));
    Object.assign(ui, { crossTools: bar, crossStake: stake, crossDrawing: drawing });
  }
  // The stakes with a ground section (none without a template), the first drawn.
  function showGroundStakes() {
    const stakes = state.hasSection ? splitLines(call(5, state.names).out) : [];
    ui.crossStake.replaceChildren(...stakes.map((s) => new Option(s, s)));
    ui.crossTools.hidden = ui.crossDrawing.hidden = stakes.length === 0;
    if (stakes.length) drawCrossSection(); else ui.crossDrawing.replaceChildren();
  }
  function drawCrossSection() {
    const drawn = call(4, state.names.concat([ui.crossStake.value]));
    // Why a section cannot be drawn (a ground line the design does not meet) stands where it
    // would be: the route is being opened, and its own messages may be showing.
    if (drawn.status !== 0) {
      const why = document.createElement('p');
      why.className = 'route-note cross-why';
      why.textContent = messageOf(drawn.err);
      ui.crossDrawing.replaceChildren(why);
      return;
    }
    ui.crossDrawing.innerHTML = drawn.out;
  }

  // ---- 打印: the table or drawing shown, on A4 through the browser's print dialog ----
  // The print view's content, printed under the name the print dialog proposes for a PDF.
  function printView(content, name) {
    const view = $('#print-view');
    view.replaceChildren(content);
    const before = document.title;
    document.title = name;
    window.print();
    document.title = before;
  }
  function printHead(caption) {
    const head = document.createElement('div');
    head.className = 'route-print-head';
    const title = document.createElement('h1');
    title.textContent = caption;
    const files = document.createElement('p');
    files.textContent = ui.files.textContent;
    head.append(title, files);
    return head;
  }
  // Every row of a table (not only those in view), its header repeated on each page.
  function printTable(table, caption) {
    if (!table.rowCount) {
      hcurve.message('表中还没有内容。', { title: '打印' });
      return;
    }
    const sheet = document.createElement('div');
    sheet.className = 'route-print';
    const printed = document.createElement('table');
    const head = printed.createTHead().insertRow();
    for (const h of table.header) head.append(Object.assign(document.createElement('th'), { textContent: h }));
    const body = printed.createTBody();
    for (const line of table.lines) {
      const row = body.insertRow();
      for (const cell of splitFields(line)) {
        const td = row.insertCell();
        td.textContent = cell;
        if (numeric(cell)) td.className = 'numeric';
      }
    }
    sheet.append(printHead(caption), printed);
    printView(sheet, baseName() + '-' + caption);
  }
  // The drawing as seen, fitted to the page.
  function printDrawing(host, caption) {
    const svg = $('svg', host);
    if (!svg) return;
    const sheet = document.createElement('div');
    sheet.className = 'route-print route-print-drawing';
    const copy = svg.cloneNode(true);
    copy.removeAttribute('width');
    copy.removeAttribute('height');
    sheet.append(printHead(caption), copy);
    printView(sheet, baseName() + '-' + caption);
  }

  async function saveProfile() {
    const chosen = await chooseName('保存纵断面图', baseName() + '-纵断面图.svg', [['SVG 图形 (*.svg)', '.svg']]);
    if (chosen === null) return;
    const profile = call(2, state.names);
    if (profile.status !== 0) return;
    hcurve.download(safeName(chosen), encoder.encode(profile.out), kTypes['.svg']);
  }

  // ---- Locating a point: its chainage and offset, as `hcurve route --locate X Y [H]` ----
  function locate(x, y, h) {
    const args = state.names.concat(['--locate', x, y]);
    if (h !== undefined && h !== '') args.push(h);
    return run(args);
  }

  function locateShown() {
    const values = ['x', 'y', 'h'].map((n) => ui.locate.elements[n].value.trim());
    const result = locate(values[0], values[1], values[2]);
    const list = $('.locate-result', ui.section);
    const note = $('.locate-note', ui.section);
    if (result.status !== 0) {
      hcurve.message(messageOf(result.err), { error: true, title: '坐标反算' });
      return;
    }
    const [header, row] = splitLines(result.out).map(splitFields);
    list.replaceChildren(...header.flatMap((h, i) => {
      const dt = document.createElement('dt');
      dt.textContent = h;
      const dd = document.createElement('dd');
      dd.textContent = row[i] ?? '';
      return [dt, dd];
    }));
    note.textContent = messageOf(result.err);
  }

  // ---- A file of points located at once, as `hcurve route FILE... --locate-points POINTS.csv` ----
  // The file is put beside the route's under its own name (in a folder of its own where a route
  // file has that name), so that the messages name it as the user knows it.
  function locatePoints(name, bytes, kind = 0) {
    const putName = state.names.includes(name) ? '点文件/' + name : name;
    const failure = put(putName, bytes, kind);
    if (failure !== null) return { status: 1, bytes: new Uint8Array(0), err: failure };
    return runBytes(state.names.concat(['--locate-points', putName]));
  }

  function clearLocated() {
    state.located = null;
    ui.tables.locate.setLines([]);
    $('.locate-points-note', ui.section).textContent = '';
    $('.locate-export', ui.section).disabled = true;
  }

  // 打开点文件…: the points' table in the panel, with what could not be located told under the
  // buttons; a refused file leaves the table shown as it was.
  async function openPointFile(chosen) {
    if (!state.names.length) {
      await hcurve.message('还没有打开路线。', { error: true, title: '坐标反算' });
      return false;
    }
    const read = await readChosen(chosen);
    const result = locatePoints(read.name, read.bytes, read.kind);
    if (result.status !== 0) {
      await hcurve.message(messageOf(result.err), { error: true, title: '坐标反算' });
      return false;
    }
    const dot = read.name.lastIndexOf('.');
    state.located = { bytes: result.bytes, name: (dot > 0 ? read.name.slice(0, dot) : read.name) + '-坐标反算.csv' };
    ui.tables.locate.setLines(splitLines(decoder.decode(result.bytes)));
    $('.locate-points-note', ui.section).textContent = messageOf(result.err);
    $('.locate-export', ui.section).disabled = false;
    return true;
  }

  // 导出…: the table's CSV, the bytes the command line writes for the same files.
  async function exportLocated() {
    if (!state.located) return false;
    const chosen = await chooseName('导出坐标反算结果', state.located.name, [['CSV 表格 (*.csv)', '.csv']]);
    if (chosen === null) return false;
    hcurve.download(safeName(chosen), state.located.bytes, kTypes['.csv']);
    return true;
  }

  function start(mod) {
    module = mod;
    build(document.getElementById('route-page'));
  }

  return { start, run, locate, locatePoints, openPointFile, computeStakes, openFiles, get state() { return state; }, get tables() { return ui && ui.tables; } };
})();

hcurve.register({ id: 'route-page', start: (module) => hcurveRoute.start(module) });
