// The page's side of the web platform: panels for the windows, DOM elements for the
// controls, menus and modal dialogs. DOM handlers only queue raw facts (Page.push) in the
// names of the program's platform/event.h; the program takes them in Page.nextEvent, which it
// awaits while suspended, in its own numbers (PageNumbers, made from its headers at build
// time).
// Debian's emscripten (3.1.6) minifies this file and silently drops object destructuring
// and destructuring in for-of loops: neither is used here.

var Page = (() => {
  // The DOM's button numbers: the program's name and the button's bit in `buttons`. The
  // middle button is not reported.
  const buttonOf = { 0: ['Left', 1], 2: ['Right', 2] };
  const keyOf = { ArrowLeft: 'Left', ArrowUp: 'Up', ArrowRight: 'Right', ArrowDown: 'Down',
                  Insert: 'Insert', Delete: 'Delete', Escape: 'Escape' };
  // The keys the program walks the menus with (MenuKey).
  const menuKeyOf = { ArrowLeft: 'Left', ArrowUp: 'Up', ArrowRight: 'Right', ArrowDown: 'Down',
                      Enter: 'Enter', ' ': 'Space', Escape: 'Escape' };
  // A DOM element with the given properties (`data`: its data- attributes) and children.
  const element = (tag, properties, ...children) => {
    const node = document.createElement(tag);
    for (const name of Object.keys(properties || {})) {
      if (name === 'data') Object.assign(node.dataset, properties.data);
      else node[name] = properties[name];
    }
    node.append(...children);
    return node;
  };
  // The page's zoom (see fitPixels): pointer positions are in the viewport's pixels, the
  // panels' and popups' in the page's.
  const zoom = () => Number(document.documentElement.style.zoom) || 1;
  const place = (node, x, y) => Object.assign(node.style, { left: `${x}px`, top: `${y}px` });
  const size = (node, width, height) =>
    Object.assign(node.style, { width: `${Math.max(0, width)}px`, height: `${Math.max(0, height)}px` });

  const Page = {
    queue: [], wake: null, text: '', windows: {}, controls: {}, menus: {},
    shortcuts: [], active: null, firstWindow: null, pointer: { x: 0, y: 0 }, openMenu: null,
    menuReturn: null, altAlone: false, modal: false, lastSaveName: '', saveHandle: null, zIndex: 1,
    numbers: null, waking: false, timers: 0,

    start() {
      Page.numbers = PageNumbers;
      FS.mkdirTree('/save');
    },

    push(event) {
      Page.queue.push(event);
      if (Page.wake) { const wake = Page.wake; Page.wake = null; wake(); }
    },

    // The program's number for one of its names: a name it did not give is a fault here.
    number(group, name) {
      if (!(name in Page.numbers[group])) throw new Error(`no ${group} named ${name}`);
      return Page.numbers[group][name];
    },

    async nextEvent(out) {
      Page.deliverSaves();
      if (!Page.started) { Page.started = true; performance.mark('tessaly-ready'); }
      while (!Page.queue.length) await new Promise((resolve) => { Page.wake = resolve; });
      const event = Page.queue.shift();
      Page.text = event.files ? Page.store('/drop', event.files).join('\n') : '';
      const id = (value) => (value === undefined ? -1 : value);
      const fields = [Page.number('kind', event.kind), id(event.window), id(event.control),
                      id(event.command), event.x || 0, event.y || 0,
                      Page.number('button', event.button || 'None'), event.buttons || 0,
                      Page.number('key', event.key || 'None'), event.value || 0];
      fields.forEach((value, i) => { HEAP32[(out >> 2) + i] = value; });
    },

    // After the next frame has been shown, and the frame's own work done.
    wakeAfterFrame() {
      Page.waking = true;
      requestAnimationFrame(() => setTimeout(() => { Page.waking = false; Page.push({ kind: 'Wake' }); }));
    },

    // --- Files: the in-memory file system stands in for the disk.

    // Copies files into a folder and gives their paths, which the program's messages show.
    store(folder, files) {
      FS.mkdirTree(folder);
      return files.map((file) => {
        const path = `${folder}/${file.name.replace(/[\\/]/g, '_') || 'file'}`;
        FS.writeFile(path, file.bytes);
        return path;
      });
    },

    readFiles(list) {
      return Promise.all(Array.from(list, async (file) =>
        ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) })));
    },

    // Whatever the program saved since the last event goes to the user.
    deliverSaves() {
      for (const name of FS.readdir('/save').filter((n) => n !== '.' && n !== '..')) {
        const bytes = FS.readFile(`/save/${name}`);
        FS.unlink(`/save/${name}`);
        const handle = Page.saveHandle;
        Page.saveHandle = null;
        if (!handle) { Page.download(name, bytes); continue; }
        handle.createWritable().then(async (w) => { await w.write(bytes); await w.close(); })
          .catch(() => Page.download(name, bytes));
      }
    },

    download(name, bytes) {
      const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      const link = element('a', { href: url, download: name });
      document.body.append(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(url), 60000);
    },

    async commandLine() {
      Page.text = '';
      // Like the desktop's command line, only a single file counts.
      const files = new URLSearchParams(location.search).getAll('file');
      if (files.length !== 1 || !files[0]) return;
      const url = files[0];
      const name = decodeURIComponent(url.split(/[?#]/)[0].split('/').pop() || 'file');
      let bytes = null;
      if (/^https?:$/.test(location.protocol)) {
        try {
          const response = await fetch(url);
          if (response.ok) bytes = new Uint8Array(await response.arrayBuffer());
        } catch (e) {}
      }
      // A file that could not be fetched keeps its URL, a path with nothing behind it: the
      // program reports it as it reports a missing file.
      Page.text = bytes ? Page.store('/url', [{ name, bytes }])[0] : url;
    },

    // --- Windows. The tab shows the title of the first window, the program's main one.

    openWindow(spec) {
      const id = spec.id;
      const titleText = element('span', { className: 'title' }, spec.title);
      const minimise = element('button', { className: 'minimise', title: 'Minimise' }, '\u2013');
      const close = element('button', { className: 'close', title: 'Close' }, '\u00d7');
      const caption = element('header', { className: 'caption' }, titleText, minimise, close);
      const area = element('div', { className: 'area' });
      const client = element('div', { className: 'client' }, area);
      size(client, spec.width, spec.height);
      const panel = element('section', { className: 'window', data: { window: spec.name } },
                            caption, client);
      const desk = document.getElementById('desktop');
      desk.append(panel);
      const win = { id, panel, titleText, client, area, controlArea: area, focus: null };
      Page.windows[id] = win;
      // The panel takes the keys itself when none of its controls has them.
      panel.tabIndex = -1;
      panel.addEventListener('focusin', (e) => { if (!e.target.closest('.menubar')) win.focus = e.target; });
      panel.addEventListener('pointerdown', () => Page.activate(id), true);
      close.addEventListener('click', () => Page.push({ kind: 'WindowClosed', window: id }));
      minimise.addEventListener('click', () => Page.minimise(id, true));
      caption.addEventListener('pointerdown', (e) => Page.dragPanel(win, e));
      if (spec.centred) {
        place(panel, Math.max(0, Math.floor((desk.clientWidth - panel.offsetWidth) / 2)),
              Math.max(0, Math.floor((desk.clientHeight - panel.offsetHeight) / 2)));
      } else {
        place(panel, spec.x, spec.y);
      }
      if (Page.firstWindow === null) Page.firstWindow = id;
      if (id === Page.firstWindow) document.title = spec.title;
      if (spec.hidden) panel.hidden = true;
      else Page.activate(id);
    },

    windowLeft(id) { return Page.windows[id].panel.offsetLeft; },
    windowTop(id) { return Page.windows[id].panel.offsetTop; },

    showWindow(id) {
      Page.minimise(id, false);
      Page.windows[id].panel.hidden = false;
      Page.activate(id);
    },

    hideWindow(id) {
      Page.windows[id].panel.hidden = true;
      if (Page.active === id) Page.activateTop();
      Page.updateTaskbar();
    },

    setTitle(id, title) {
      Page.windows[id].titleText.textContent = title;
      if (id === Page.firstWindow) document.title = title;
      const task = document.querySelector(`#taskbar [data-for="${id}"]`);
      if (task) task.textContent = title;
    },

    // The active window is in front and has the keys: they go to the control that last had
    // them there, as a desktop window's do.
    activate(id) {
      const win = Page.windows[id];
      if (!win.panel.contains(document.activeElement)) {
        (win.focus && win.focus.isConnected ? win.focus : win.panel).focus({ preventScroll: true });
      }
      if (Page.active === id && win.panel.classList.contains('active')) return;
      for (const other of Object.values(Page.windows)) other.panel.classList.toggle('active', other === win);
      win.panel.style.zIndex = ++Page.zIndex;
      Page.active = id;
      Page.updateTaskbar();
    },

    // When the active window goes away, the frontmost one left becomes active.
    activateTop() {
      const shown = Object.values(Page.windows).filter((w) =>
        !w.panel.hidden && !w.panel.classList.contains('minimised'));
      shown.sort((a, b) => b.panel.style.zIndex - a.panel.style.zIndex);
      if (shown.length) Page.activate(shown[0].id);
    },

    minimise(id, on) {
      Page.windows[id].panel.classList.toggle('minimised', on);
      if (on && Page.active === id) Page.activateTop();
      Page.updateTaskbar();
    },

    // The task bar at the bottom of the page has a button for every window that is shown or
    // minimised: it brings the window back to the front.
    updateTaskbar() {
      const taskbar = document.getElementById('taskbar');
      taskbar.replaceChildren();
      for (const win of Object.values(Page.windows)) {
        if (win.panel.hidden) continue;
        const button = element('button', { className: win.id === Page.active ? 'active' : '',
                                           data: { for: win.id } }, win.titleText.textContent);
        button.addEventListener('click', () => { Page.minimise(win.id, false); Page.activate(win.id); });
        taskbar.append(button);
      }
    },

    dragPanel(win, e) {
      if (e.button !== 0 || e.target.tagName === 'BUTTON') return;
      const startX = e.clientX / zoom() - win.panel.offsetLeft;
      const startY = e.clientY / zoom() - win.panel.offsetTop;
      const caption = e.currentTarget;
      caption.setPointerCapture(e.pointerId);
      const move = (m) => place(win.panel, m.clientX / zoom() - startX,
                                Math.max(0, m.clientY / zoom() - startY));
      const up = () => {
        caption.removeEventListener('pointermove', move);
        caption.removeEventListener('pointerup', up);
      };
      caption.addEventListener('pointermove', move);
      caption.addEventListener('pointerup', up);
    },

    // --- Controls. Only the user's changes are reported, never the program's.

    createControl(spec) {
      const kinds = Page.numbers.control;
      const control = { id: spec.id, kind: spec.kind, border: spec.border };
      const changed = (value) => Page.push({ kind: 'ControlChanged', control: spec.id, value });
      let node;
      if (spec.kind === kinds.Canvas) {
        node = element('canvas', { width: spec.width, height: spec.height });
        if (spec.border) Page.drawBorder(node);
        if (spec.keyboard) node.tabIndex = 0;
        // Named for screen readers; one that takes keys has them all while it has the focus.
        Object.assign(node, { ariaLabel: spec.text, role: spec.keyboard ? 'application' : 'img' });
        control.node = node;
        Page.canvasEvents(control, spec.keyboard);
      } else if (spec.kind === kinds.Slider) {
        node = element('input', { type: 'range', min: spec.min, max: spec.max, value: spec.min });
        if (spec.ticks) {
          const ticks = element('datalist', { id: `ticks-${spec.id}` });
          for (let v = spec.min; v <= spec.max; v += spec.step) ticks.append(element('option', { value: v }));
          document.body.append(ticks);
          node.setAttribute('list', ticks.id);
        }
        node.addEventListener('input', () => changed(Number(node.value)));
      } else if (spec.kind === kinds.CheckBox) {
        control.input = element('input', { type: 'checkbox' });
        control.input.addEventListener('change', () => changed(control.input.checked ? 1 : 0));
        node = element('label', { className: 'checkbox' }, control.input, element('span', {}, spec.text));
      } else if (spec.kind === kinds.Button) {
        node = element('button', {}, spec.text);
        node.addEventListener('click', () => changed(0));
      } else if (spec.kind === kinds.Label) {
        node = element('div', { className: spec.centred ? 'label centred' : 'label' }, spec.text);
      } else if (spec.kind === kinds.TextField) {
        node = element(spec.multiLine ? 'textarea' : 'input',
                       { className: spec.rightAligned ? 'field right' : 'field', spellcheck: false });
      } else if (spec.kind === kinds.ScrollArea) {
        control.inner = element('div', { className: 'inner' });
        size(control.inner, spec.innerWidth, spec.innerHeight);
        node = element('div', { className: 'scroll' }, control.inner);
        // A notch a turn, whatever the browser measures it in; the program scrolls.
        node.addEventListener('wheel', (e) => {
          e.preventDefault();
          Page.push({ kind: 'Wheel', control: spec.id, x: Math.sign(e.deltaX) * 120,
                      y: Math.sign(e.deltaY) * 120, value: e.shiftKey ? 1 : 0 });
        }, { passive: false });
      }
      node.dataset.control = spec.name;
      place(node, spec.x, spec.y);
      size(node, spec.width, spec.height);
      control.node = node;
      const win = Page.windows[spec.window];
      win.controlArea.append(node);
      if (control.inner) win.controlArea = control.inner;
      Page.controls[spec.id] = control;
    },

    // A sunken two-pixel frame in the canvas's own pixels around its drawing area: each ring
    // light at the bottom and right, dark at the top and left. The program's first drawing
    // covers the inside.
    drawBorder(canvas) {
      const context = canvas.getContext('2d');
      const ring = (inset, light, dark) => {
        const width = canvas.width - 2 * inset;
        const height = canvas.height - 2 * inset;
        context.fillStyle = light;
        context.fillRect(inset, inset, width, height);
        context.fillStyle = dark;
        context.fillRect(inset, inset, width - 1, height - 1);
      };
      ring(0, '#ffffff', '#a0a0a0');
      ring(1, '#e3e3e3', '#696969');
    },

    // The picture goes to the canvas straight from the program's memory: an ImageData over
    // those bytes, with no copy of its own to fill first (copying into the ImageData's
    // clamped array goes byte by byte).
    putPixels(id, bytes, width, height, at) {
      const control = Page.controls[id];
      if (!control.context) control.context = control.node.getContext('2d');
      const view = new Uint8ClampedArray(bytes.buffer, bytes.byteOffset, bytes.length);
      control.context.putImageData(new ImageData(view, width, height), at, at);
    },

    // The pointer on a canvas, in the pixels of its drawing area: outside it too (even
    // negative) while a button pressed on it is held, as the canvas has the pointer then.
    canvasEvents(control, keyboard) {
      const node = control.node;
      const where = (e) => {
        const box = node.getBoundingClientRect();
        const scale = box.width / node.width || 1;
        return { x: Math.floor((e.clientX - box.left) / scale) - control.border,
                 y: Math.floor((e.clientY - box.top) / scale) - control.border,
                 clientX: e.clientX, clientY: e.clientY };
      };
      const report = (kind, at, button, buttons, value) => {
        Page.pointer = { x: at.clientX, y: at.clientY };
        Page.push({ kind, control: control.id, x: at.x, y: at.y, button, buttons, value });
      };
      const pointer = (kind, e, button) => report(kind, where(e), button, e.buttons & 7);
      // Fingers and pens, and the mouse while one of them draws, go their own way.
      const stroke = Page.fingerOrPen(node, where, report);
      const own = (e) => e.pointerType === 'touch' || e.pointerType === 'pen' || Page.stroke;
      node.addEventListener('pointerdown', (e) => {
        if (keyboard) node.focus({ preventScroll: true });
        e.preventDefault();
        if (own(e)) { stroke.down(e); return; }
        if (!buttonOf[e.button]) return;
        node.setPointerCapture(e.pointerId);
        pointer('PointerDown', e, buttonOf[e.button][0]);
      });
      node.addEventListener('pointerup', (e) => {
        if (own(e)) stroke.up(e, false);
        else if (buttonOf[e.button]) pointer('PointerUp', e, buttonOf[e.button][0]);
      });
      // Taken by the browser, or the capture lost on the way: the stroke ends where it was.
      for (const type of ['pointercancel', 'lostpointercapture'])
        node.addEventListener(type, (e) => { if (Page.stroke) stroke.up(e, true); });
      node.addEventListener('pointermove', (e) => {
        // A button pressed or released while another is held comes as a move with its number;
        // such a press, too, leaves the focus where it is.
        if (own(e)) return stroke.move(e);
        if (e.button < 0) return pointer('PointerMove', e);
        e.preventDefault();
        if (buttonOf[e.button]) {
          const [button, bit] = buttonOf[e.button];
          pointer(e.buttons & bit ? 'PointerDown' : 'PointerUp', e, button);
        }
      });
      node.addEventListener('pointerleave', (e) => {
        const ignored = Page.stroke && Page.stroke.id !== e.pointerId;
        if (node.hasPointerCapture(e.pointerId) || ignored) return;
        Page.push({ kind: 'PointerLeave', control: control.id });
      });
      if (!keyboard) return;
      // Keys while the canvas has the focus; a key held down does not repeat.
      const key = (kind) => (e) => {
        const modifier = ['Control', 'Alt', 'Meta'].includes(e.key) || e.ctrlKey || e.altKey || e.metaKey;
        if (Page.modal || Page.openMenu || modifier) return;
        const name = keyOf[e.key] || 'Other';
        if (kind === 'KeyUp' || !e.repeat) Page.push({ kind, control: control.id, key: name });
        if (name !== 'Other') e.preventDefault();
      };
      node.addEventListener('keydown', key('KeyDown'));
      node.addEventListener('keyup', key('KeyUp'));
    },

    // A finger or a pen draws one stroke, until it lifts; while it is on (Page.stroke) other
    // fingers, pens and the mouse are ignored. A pen presses the left button, or the right
    // one with its barrel button held; a finger is reported as such, and the program decides
    // which button it presses. `where` gives an event's place, `report` pushes a record.
    fingerOrPen(node, where, report) {
      const bit = { Left: 1, Right: 2 };
      return {
        down(e) {
          const barrel = e.pointerType === 'pen' && (e.button === 2 || (e.buttons & 2) !== 0);
          if (Page.stroke || (e.button !== 0 && !barrel)) return;
          node.setPointerCapture(e.pointerId);
          const at = where(e);
          const finger = e.pointerType === 'touch';
          Page.stroke = { id: e.pointerId, finger, button: barrel ? 'Right' : 'Left', last: at };
          if (finger) report('FingerDown', at);
          else report('PointerDown', at, Page.stroke.button, bit[Page.stroke.button]);
        },
        move(e) {
          const stroke = Page.stroke;
          if (!stroke) { report('PointerMove', where(e), undefined, 0); return; } // a pen hovering
          if (e.pointerId !== stroke.id) return;
          stroke.last = where(e);
          if (stroke.finger) report('FingerMove', stroke.last);
          else report('PointerMove', stroke.last, undefined, bit[stroke.button]);
        },
        // A finger taken by the browser ends where it was last.
        up(e, cancelled) {
          const stroke = Page.stroke;
          if (!stroke || e.pointerId !== stroke.id) return;
          Page.stroke = null;
          const at = cancelled ? stroke.last : where(e);
          if (stroke.finger) report('FingerUp', at, undefined, 0, cancelled ? 1 : 0);
          else report('PointerUp', at, stroke.button, 0);
        },
      };
    },

    // The program's timer (Platform::startTimer); Page.timers counts those still running.
    startTimer(number, ms) {
      Page.timers += 1;
      setTimeout(() => { Page.timers -= 1; Page.push({ kind: 'Timer', value: number }); }, ms);
    },

    scrollBy(id, dx, dy) {
      const node = Page.controls[id].node;
      node.scrollLeft += dx;
      node.scrollTop += dy;
    },

    setControlValue(id, value) {
      const control = Page.controls[id];
      if (control.input) control.input.checked = value !== 0;
      else control.node.value = value;
    },

    setInnerSize(id, width, height) { size(Page.controls[id].inner, width, height); },

    // A text unchanged is not written again: a write has the page laid out anew.
    setControlText(id, text) {
      const control = Page.controls[id];
      const kinds = Page.numbers.control;
      const write = (node, key) => { if (node[key] !== text) node[key] = text; };
      if (control.kind === kinds.TextField) write(control.node, 'value');
      else if (control.kind === kinds.CheckBox) write(control.node.lastChild, 'textContent');
      else if (control.kind === kinds.Label || control.kind === kinds.Button) write(control.node, 'textContent');
    },

    setToolTip(id, text) { Page.controls[id].node.title = text; },

    setFocus(id) {
      const control = Page.controls[id];
      (control.input || control.node).focus({ preventScroll: true });
    },

    acceptDrops(id) {
      const node = Page.controls[id].node;
      const hasFiles = (e) => e.dataTransfer && Array.from(e.dataTransfer.types).includes('Files');
      const over = (e) => {
        if (!hasFiles(e)) return;
        e.preventDefault();
        e.dataTransfer.dropEffect = 'copy';
      };
      node.addEventListener('dragenter', over);
      node.addEventListener('dragover', over);
      node.addEventListener('drop', async (e) => {
        if (!hasFiles(e)) return;
        e.preventDefault();
        const files = await Page.readFiles(e.dataTransfer.files);
        if (files.length) Page.push({ kind: 'FilesDropped', control: id, files });
      });
    },

    // --- Menus: a menu bar's entries are its titles; a window of -1 makes a popup. Titles
    // and items take the keyboard focus while the menus are used from the keyboard.

    // The entries come a line each (web_platform.cpp): depth, kind, command, mark, text.
    createMenu(id, window, lines) {
      const top = { entries: [] };
      const open = [top];
      for (const line of lines.split('\n').slice(0, -1)) {
        const fields = line.match(/^(\d+) (\d+) (-?\d+) ([01]) (.*)$/);
        const entry = { kind: Number(fields[2]), command: Number(fields[3]), checked: fields[4] === '1',
                        text: fields[5], entries: [] };
        open[Number(fields[1])].entries.push(entry);
        open[Number(fields[1]) + 1] = entry;
      }
      const menu = { id, window, entries: top.entries };
      const kinds = Page.numbers.entry;
      const items = {}; // the first item of each command, which shows its mark
      const list = (className, entries) => element('ul', { className, role: 'menu' }, ...entries.map((entry) => {
        if (entry.kind === kinds.Separator) return element('li', { className: 'separator', role: 'separator' });
        if (entry.kind === kinds.Submenu) {
          return element('li', { className: 'submenu', role: 'menuitem', ariaHasPopup: 'menu',
                                 ariaLabel: entry.text, tabIndex: -1 },
                         element('span', { className: 'text' }, entry.text), list('menu', entry.entries));
        }
        const [label, shortcut] = entry.text.split('\t');
        const item = element('li', { className: 'item', tabIndex: -1, data: { command: entry.command } },
                             element('span', { className: 'check' }),
                             element('span', { className: 'text' }, label),
                             element('span', { className: 'accel' }, shortcut || ''));
        Page.mark(item, entry.checked);
        item.addEventListener('click', (e) => {
          e.stopPropagation();
          Page.closeMenus();
          Page.push({ kind: 'Command', command: entry.command });
        });
        if (!(entry.command in items)) items[entry.command] = item;
        return item;
      }));
      if (menu.window < 0) {
        const popup = list('menu popup', menu.entries);
        popup.hidden = true;
        document.body.append(popup);
        Page.menus[menu.id] = { items, list: popup };
        return;
      }
      const bar = element('nav', { className: 'menubar', role: 'menubar' }, ...menu.entries.map((entry) => {
        const title = element('div', { className: 'menutitle', role: 'menuitem', ariaHasPopup: 'menu',
                                       ariaExpanded: 'false', ariaLabel: entry.text, tabIndex: -1 },
                              entry.text, list('menu', entry.entries));
        title.addEventListener('pointerdown', (e) => {
          if (e.target === title) Page.toggleMenu(Page.openMenu === title ? null : title);
        });
        title.addEventListener('pointerenter', () => { if (Page.openMenu) Page.toggleMenu(title); });
        return title;
      }));
      const win = Page.windows[menu.window];
      win.client.insertBefore(bar, win.area);
      Page.menus[menu.id] = { items, bar };
    },

    setMenuChecked(menu, command, on) {
      const item = Page.menus[menu] && Page.menus[menu].items[command];
      if (item) Page.mark(item, !!on);
    },

    // An item once marked is a check box item from then on, as the desktop's becomes
    // checkable.
    mark(item, on) {
      item.classList.toggle('checked', on);
      item.role = on || item.ariaChecked ? 'menuitemcheckbox' : 'menuitem';
      if (item.role === 'menuitemcheckbox') item.ariaChecked = String(on);
    },

    toggleMenu(title) {
      if (Page.openMenu) {
        Page.openMenu.classList.remove('open');
        Page.openMenu.ariaExpanded = 'false';
        Page.openMenu.querySelectorAll('.submenu.open').forEach((s) => s.classList.remove('open'));
      }
      Page.openMenu = title;
      if (title) { title.classList.add('open'); title.ariaExpanded = 'true'; }
    },

    closeMenus() {
      Page.leaveMenus();
      if (Page.closePopup) Page.closePopup();
    },

    // The pointer or a shortcut closed what the keys were walking: the program is told.
    endWalk() {
      if (!Page.inMenus() && !Page.closePopup) return;
      Page.closeMenus();
      Page.push({ kind: 'MenuClosed' });
    },

    inMenus() { return !!(document.activeElement && document.activeElement.closest('.menubar')); },

    // The menus closed; the keys go back where they were before.
    leaveMenus() {
      const inside = Page.inMenus();
      Page.toggleMenu(null);
      if (!inside) return;
      const back = Page.menuReturn;
      const win = Page.windows[Page.active];
      if (back && back.isConnected && back !== document.body) back.focus({ preventScroll: true });
      else if (win) win.panel.focus({ preventScroll: true });
    },

    // Where the program walking the menus has the keys (Platform::showMenuPlace): the entry
    // at the end of `path` takes the focus, the titles and submenus before it are open.
    showMenuPlace(menu, path) {
      if (menu < 0) { Page.closeMenus(); return; }
      const shown = Page.menus[menu];
      let node = (shown.list || shown.bar).children[path[0]];
      if (shown.list) { if (node) node.focus({ preventScroll: true }); return; }
      if (!Page.inMenus()) Page.menuReturn = document.activeElement;
      Page.toggleMenu(path.length > 1 ? node : null);
      for (const index of path.slice(1)) {
        if (node !== Page.openMenu) node.classList.add('open');
        node = node.querySelector(':scope > .menu').children[index];
      }
      node.focus({ preventScroll: true });
    },

    addShortcut(window, key, command) {
      Page.shortcuts.push({ window, key: key.toUpperCase(), command });
    },

    showPopup(menu, window) {
      Page.activate(window);
      const list = Page.menus[menu].list;
      const shade = element('div', { className: 'shade' });
      document.body.append(shade);
      list.hidden = false;
      list.style.zIndex = ++Page.zIndex + 1;
      shade.style.zIndex = Page.zIndex;
      // One pixel left of and above the pointer, kept inside the page.
      const scale = zoom();
      place(list, Math.max(0, Math.min(Page.pointer.x / scale - 1, innerWidth / scale - list.offsetWidth)),
            Math.max(0, Math.min(Page.pointer.y / scale - 1, innerHeight / scale - list.offsetHeight)));
      const before = document.activeElement;
      Page.closePopup = () => {
        Page.closePopup = null;
        if (list.contains(document.activeElement) && before) before.focus({ preventScroll: true });
        list.hidden = true;
        shade.remove();
      };
      shade.addEventListener('pointerdown', (e) => { e.preventDefault(); Page.endWalk(); });
    },

    // --- Keys. First, before any control (the capture phase): an open popup or the menus
    // take every key, and F10 or Alt pressed and released alone enter or leave the menus.
    // The program walks the menus by the keys it is told (MenuKey).
    routeKey(e) {
      if (Page.modal || (e.target.closest && e.target.closest('.dialog'))) return;
      const down = e.type === 'keydown';
      const altAlone = !down && e.key === 'Alt' && Page.altAlone;
      if (down) Page.altAlone = e.key === 'Alt' && !e.ctrlKey && !e.shiftKey && !e.metaKey;
      // A menu opened by the pointer: the keys go on from its title.
      const opened = Page.openMenu && !Page.inMenus() ?
        Array.from(Page.openMenu.parentElement.children).indexOf(Page.openMenu) + 1 : 0;
      const tell = (key) => {
        e.preventDefault();
        e.stopPropagation();
        if (key) Page.push({ kind: 'MenuKey', key, window: Page.active, value: opened });
      };
      const plain = !e.ctrlKey && !e.altKey && !e.shiftKey && !e.metaKey;
      if (Page.closePopup) {
        if (down) tell(menuKeyOf[e.key]);
        else e.stopPropagation();
      } else if ((down && e.key === 'F10' && plain) || altAlone) {
        tell('Menu');
      } else if (down && opened && (e.key === 'Escape' || e.key.startsWith('Arrow'))) {
        tell(menuKeyOf[e.key]);
      } else if (Page.inMenus()) {
        // A shortcut leaves the menus and acts (keyDown).
        if (down && (e.ctrlKey || e.metaKey)) Page.endWalk();
        else if (down) tell(menuKeyOf[e.key]);
        else e.stopPropagation();
      }
    },

    // Then, for the whole page: shortcuts, and Escape going down or up in one of the
    // program's panels.
    keyDown(e) {
      // A key for a dialog stays there, even when it has closed the dialog on its way.
      if (Page.modal || (e.target.closest && e.target.closest('.dialog'))) return;
      if (e.ctrlKey && !e.altKey && !e.metaKey && !e.shiftKey && e.key.length === 1) {
        // The program's shortcut keys never reach the browser (Ctrl+O would open a file
        // in the tab), also on a window where they mean nothing.
        const key = e.key.toUpperCase();
        if (!Page.shortcuts.some((s) => s.key === key)) return;
        e.preventDefault();
        const found = Page.shortcuts.find((s) => s.key === key && s.window === Page.active);
        if (found) Page.push({ kind: 'Command', command: found.command });
        return;
      }
      if (e.key === 'Escape' && !e.repeat && Page.active !== null) Page.push({ kind: 'KeyDown', key: 'Escape' });
    },

    keyUp(e) { if (e.key === 'Escape' && !Page.modal) Page.push({ kind: 'KeyUp', key: 'Escape' }); },

    // --- Dialogs: modal overlays over the whole page.

    dialog(name, title, build) {
      Page.closeMenus();
      const body = element('div', { className: 'body' });
      const buttons = element('div', { className: 'buttons' });
      const box = element('div', { className: 'dialog', data: { dialog: name } },
                          element('header', { className: 'caption' }, title), body, buttons);
      box.setAttribute('role', 'dialog');
      const shade = element('div', { className: 'shade modal' }, box);
      document.body.append(shade);
      Page.modal = true;
      Page.push({ kind: 'KeyboardLost' });
      const focused = document.activeElement;
      return new Promise((resolve) => {
        // A late answer (a file chooser's after Cancel) finds the dialog gone.
        const done = (value) => {
          if (!shade.isConnected) return;
          shade.remove();
          Page.modal = false;
          // The control that had the keys before the dialog has them again.
          if (focused && focused.focus) focused.focus({ preventScroll: true });
          resolve(value);
        };
        const button = (text, value, dataName) => {
          const node = element('button', { data: { button: dataName } }, text);
          node.addEventListener('click', () => done(typeof value === 'function' ? value() : value));
          buttons.append(node);
          return node;
        };
        const first = build(body, button, done);
        box.addEventListener('keydown', (e) => {
          if (e.key === 'Escape') { e.preventDefault(); buttons.lastChild.click(); }
          if (e.key === 'Enter' && e.target.tagName !== 'BUTTON') {
            e.preventDefault();
            buttons.firstChild.click();
          }
        });
        (first || buttons.firstChild).focus();
      });
    },

    messageBox(title, text) {
      return Page.dialog('message', title, (body, button) => {
        body.append(element('p', { className: 'message' }, text));
        button('OK', undefined, 'ok');
      });
    },

    chooseColour() {
      return Page.dialog('colour', 'Select Color', (body, button) => {
        const swatch = element('div', { className: 'swatch' });
        const fields = ['Red', 'Green', 'Blue'].map((name) => {
          const input = element('input', { type: 'number', min: 0, max: 255, value: 0,
                                           data: { field: name.toLowerCase() } });
          body.append(element('label', {}, `${name}: `, input));
          return input;
        });
        const value = () => fields.map((f) => Math.min(255, Math.max(0, Number(f.value) | 0)));
        const paint = () => { swatch.style.background = `rgb(${value().join(',')})`; };
        fields.forEach((f) => f.addEventListener('input', paint));
        body.append(swatch);
        paint();
        button('OK', () => { const [r, g, b] = value(); return r | (g << 8) | (b << 16); }, 'ok');
        button('Cancel', -1, 'cancel');
        return fields[0];
      });
    },

    // "Name|pattern|Name|pattern...": the extension of filter `index`, as ".fnt".
    extension(filters, index) {
      return ((filters.split('|')[2 * index + 1] || '').match(/\*(\.\w+)/) || [])[1] || '';
    },

    // The file's type (the filter) first, then the browser's file chooser for the file; the
    // type picked tells how the file is read.
    async openDialog(title, filters, index) {
      Page.text = '';
      const chosen = await Page.dialog('open', title, (body, button, done) => {
        const names = filters.split('|').filter((part, i) => i % 2 === 0);
        const type = element('select', { data: { field: 'type' } },
                             ...names.map((name, i) => element('option', { value: i }, name)));
        type.value = index;
        body.append(element('label', {}, 'Files of type: ', type));
        const input = element('input', { type: 'file' });
        input.addEventListener('change', async () => {
          const files = await Page.readFiles(input.files);
          done(files.length ? { file: files[0], index: Number(type.value) } : null);
        });
        input.addEventListener('cancel', () => done(null));
        const choose = element('button', { data: { button: 'choose' } }, 'Choose a file\u2026');
        choose.addEventListener('click', () => {
          input.accept = Page.extension(filters, Number(type.value));
          input.click();
        });
        button('Cancel', null, 'cancel').before(choose, input);
        return choose;
      });
      if (!chosen) return 0;
      Page.text = Page.store('/open', [chosen.file])[0];
      return chosen.index;
    },

    async saveDialog(title, filters, index) {
      Page.text = '';
      const extension = Page.extension(filters, index);
      const name = await Page.dialog('save', title, (body, button) => {
        const input = element('input', { className: 'name', value: Page.lastSaveName,
                                         data: { field: 'name' } });
        body.append(element('label', {}, 'File name: '), input);
        if (extension) body.append(element('span', { className: 'extension' }, `(${extension})`));
        button('Save', () => input.value.trim(), 'ok');
        button('Cancel', '', 'cancel');
        return input;
      });
      if (!name) return;
      Page.lastSaveName = name;
      let saved = name.replace(/[\\/]/g, '_');
      Page.saveHandle = null;
      if (window.showSaveFilePicker) {
        try {
          const suggested = saved.toLowerCase().endsWith(extension) ? saved : saved + extension;
          Page.saveHandle = await window.showSaveFilePicker({ suggestedName: suggested });
          saved = Page.saveHandle.name;
        } catch (e) {
          if (e.name === 'AbortError') return;
        }
      }
      for (const n of FS.readdir('/save')) if (n !== '.' && n !== '..') FS.unlink(`/save/${n}`);
      Page.text = `/save/${saved}`;
    },

    ended() {
      document.body.replaceChildren(element('main', { className: 'ended', data: { ended: '' } },
                                            element('h1', {}, 'Tessaly has ended.'),
                                            element('a', { href: location.href }, 'Start again')));
      document.body.className = 'ended';
      document.title = 'Tessaly';
    },
  };

  // Every canvas pixel takes a whole number of device pixels: at a fractional ratio the page
  // is zoomed to the nearest whole one. A browser zoom changes the ratio and comes here again.
  const fitPixels = () => {
    const ratio = window.devicePixelRatio || 1;
    const whole = Math.max(1, Math.round(ratio));
    document.documentElement.style.zoom = Math.abs(whole - ratio) < 1e-3 ? '' : whole / ratio;
    matchMedia(`(resolution: ${ratio}dppx)`).addEventListener('change', fitPixels,
                                                              { once: true });
  };
  fitPixels();
  // Served over http(s), the page is an app to install that also starts offline: its
  // manifest and service worker lie beside it (scripts/build-web). From disk it stays the
  // one file it is.
  if (/^https?:$/.test(location.protocol) && navigator.serviceWorker) {
    document.head.append(element('link', { rel: 'manifest', href: 'manifest.webmanifest' }),
                         element('link', { rel: 'icon', href: 'tessaly-192.png' }));
    navigator.serviceWorker.register('worker.js').catch(() => {});
  }
  window.addEventListener('keyup', Page.keyUp, true);
  window.addEventListener('keydown', Page.routeKey, true);
  window.addEventListener('keyup', Page.routeKey, true);
  document.addEventListener('keydown', Page.keyDown);
  window.addEventListener('blur', () => {
    Page.altAlone = false;
    Page.push({ kind: 'KeyboardLost' });
  });
  document.addEventListener('pointerdown', (e) => {
    Page.pointer = { x: e.clientX, y: e.clientY };
    Page.altAlone = false;
    // A press outside the menus leaves them; one on a title goes on with the mouse.
    if (Page.inMenus() && !e.target.closest('.menu')) Page.endWalk();
    else if (Page.openMenu && !Page.openMenu.contains(e.target)) Page.toggleMenu(null);
  }, true);
  document.addEventListener('contextmenu', (e) => e.preventDefault());
  // A finger opens a submenu by a tap, where a mouse hovers over it; a press elsewhere
  // closes it.
  document.addEventListener('pointerdown', (e) => {
    for (const open of document.querySelectorAll('.submenu.open'))
      if (!open.contains(e.target)) open.classList.remove('open');
    const tapped = e.pointerType !== 'mouse' && e.target.closest && e.target.closest('.submenu');
    if (tapped && !tapped.lastChild.contains(e.target)) tapped.classList.add('open');
  }, true);
  // Pressing on menus, title bars, labels and a panel's bare background leaves the keyboard
  // focus where it is, as on the desktop: the overview keeps its arrow keys.
  document.addEventListener('mousedown', (e) => {
    if (e.target.closest && (e.target.closest('.caption, .menubar, .popup') ||
                             e.target.matches('.window, .client, .area, .label'))) e.preventDefault();
  });
  // Files dropped anywhere else are not opened by the browser in place of the page.
  document.addEventListener('dragover', (e) => e.preventDefault());
  document.addEventListener('drop', (e) => e.preventDefault());
  return Page;
})();
