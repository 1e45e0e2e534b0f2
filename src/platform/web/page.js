// The page's side of the web platform: panels for the windows, DOM elements for the
// controls, menus and modal dialogs. DOM handlers only queue events (Page.push); the program
// takes them in Page.nextEvent, which it awaits while suspended. Numbers follow the
// program's EventKind, EventType and Key.

var Page = (() => {
  const Kind = { Other: 0, FilesDropped: 1, Command: 2, CloseWindow: 3, Control: 4 };
  const Type = {
    LeftButtonDown: 1, LeftButtonUp: 2, LeftClick: 3, RightButtonDown: 4, RightButtonUp: 5,
    RightClick: 6, MouseMove: 7, MouseEnter: 8, MouseLeave: 9, KeyDown: 10, KeyUp: 11,
    Character: 12, Wheel: 13, LeftDoubleClick: 14, RightDoubleClick: 15,
    MiddleButtonDown: 16, MiddleButtonUp: 17, FocusGained: 18, FocusLost: 19, Changed: 20,
  };
  const Keys = { ArrowLeft: 1, ArrowUp: 2, ArrowRight: 3, ArrowDown: 4, Insert: 5, Delete: 6,
                 Escape: 7 };
  // DOM button number to [down, up, click] types.
  const Buttons = { 0: [Type.LeftButtonDown, Type.LeftButtonUp, Type.LeftClick],
                    1: [Type.MiddleButtonDown, Type.MiddleButtonUp, 0],
                    2: [Type.RightButtonDown, Type.RightButtonUp, Type.RightClick] };
  // The scroll area moves this many steps per wheel notch, as desktop scroll areas do.
  const wheelLines = 3;
  const el = (tag, cls, text) => {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  };

  const P = {
    queue: [], wake: null, text: '', escapeHeld: false, windows: {}, controls: {}, menus: {},
    shortcuts: [], active: null, pointer: { x: 0, y: 0 }, openMenu: null, modal: false,
    lastSaveName: '', saveHandle: null, z: 1, buttons: 0,

    push(event) {
      P.queue.push(event);
      if (P.wake) { const wake = P.wake; P.wake = null; wake(); }
    },

    async nextEvent(out) {
      P.deliverSaves();
      if (!P.started) { P.started = true; performance.mark('tessaly-ready'); }
      while (!P.queue.length) await new Promise((resolve) => { P.wake = resolve; });
      const e = P.queue.shift();
      P.text = e.files ? P.store('/drop', e.files).join('\n') : '';
      const id = (v) => (v === undefined ? -1 : v);
      const fields = [e.kind || 0, id(e.window), id(e.control), e.type || 0, id(e.command),
                      e.x || 0, e.y || 0, e.buttons || 0, e.key || 0];
      fields.forEach((v, i) => { HEAP32[(out >> 2) + i] = v; });
    },

    // --- Files: the in-memory file system stands in for the disk.

    // Copies files into a folder and gives their paths, which the program's messages show.
    store(folder, files) {
      FS.mkdirTree(folder);
      return files.map((f) => {
        const path = `${folder}/${f.name.replace(/[\\/]/g, '_') || 'file'}`;
        FS.writeFile(path, f.bytes);
        return path;
      });
    },

    readFiles(list) {
      return Promise.all(Array.from(list, async (file) =>
        ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) })));
    },

    // Whatever the program saved since the last event goes to the user.
    deliverSaves() {
      let names = [];
      try { names = FS.readdir('/save').filter((n) => n !== '.' && n !== '..'); } catch (e) {}
      for (const name of names) {
        const bytes = FS.readFile(`/save/${name}`);
        FS.unlink(`/save/${name}`);
        const handle = P.saveHandle;
        P.saveHandle = null;
        if (!handle) { P.download(name, bytes); continue; }
        handle.createWritable().then(async (w) => { await w.write(bytes); await w.close(); })
          .catch(() => P.download(name, bytes));
      }
    },

    download(name, bytes) {
      const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      const a = el('a');
      a.href = url;
      a.download = name;
      document.body.append(a);
      a.click();
      a.remove();
      setTimeout(() => URL.revokeObjectURL(url), 60000);
    },

    async commandLine() {
      P.text = '';
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
      P.text = bytes ? P.store('/url', [{ name, bytes }])[0] : url;
    },

    // --- Windows

    openWindow(id, x, y, w, h, title, centred, hidden) {
      const panel = el('section', 'window');
      panel.dataset.window = id === 0 ? 'main' : id === 1 ? 'map' : `window-${id}`;
      const caption = el('header', 'caption');
      const titleText = el('span', 'title', title);
      const minimise = el('button', 'minimise', '\u2013');
      const close = el('button', 'close', '\u00d7');
      minimise.title = 'Minimise';
      close.title = 'Close';
      caption.append(titleText, minimise, close);
      const client = el('div', 'client');
      client.style.width = `${w}px`;
      client.style.height = `${h}px`;
      const area = el('div', 'area');
      client.append(area);
      panel.append(caption, client);
      document.getElementById('desktop').append(panel);
      const win = { id, panel, titleText, client, area, controlArea: area, bar: null };
      P.windows[id] = win;
      panel.addEventListener('pointerdown', () => P.activate(id), true);
      close.addEventListener('click', () => P.push({ kind: Kind.CloseWindow, window: id }));
      minimise.addEventListener('click', () => P.minimise(id, true));
      caption.addEventListener('pointerdown', (e) => P.dragPanel(win, e));
      P.keepFocus(caption);
      if (centred) {
        const desk = document.getElementById('desktop');
        x = Math.max(0, Math.floor((desk.clientWidth - panel.offsetWidth) / 2));
        y = Math.max(0, Math.floor((desk.clientHeight - panel.offsetHeight) / 2));
      }
      panel.style.left = `${x}px`;
      panel.style.top = `${y}px`;
      if (id === 0) document.title = title;
      if (hidden) panel.hidden = true;
      else P.activate(id);
      return 1;
    },

    windowLeft(id) { return P.windows[id].panel.offsetLeft; },
    windowTop(id) { return P.windows[id].panel.offsetTop; },

    showWindow(id) {
      P.minimise(id, false);
      P.windows[id].panel.hidden = false;
      P.activate(id);
      P.updateTaskbar();
    },

    hideWindow(id) {
      P.windows[id].panel.hidden = true;
      P.updateTaskbar();
    },

    setTitle(id, title) {
      P.windows[id].titleText.textContent = title;
      if (id === 0) document.title = title;
      const task = document.querySelector(`#taskbar [data-for="${id}"]`);
      if (task) task.textContent = title;
    },

    activate(id) {
      if (P.active === id && P.windows[id].panel.classList.contains('active')) return;
      for (const w of Object.values(P.windows)) w.panel.classList.toggle('active', w.id === id);
      P.windows[id].panel.style.zIndex = ++P.z;
      P.active = id;
      P.updateTaskbar();
    },

    minimise(id, on) {
      P.windows[id].panel.classList.toggle('minimised', on);
      P.updateTaskbar();
    },

    // The task bar at the bottom of the page has a button for every window that is shown or
    // minimised: it brings the window back to the front.
    updateTaskbar() {
      const taskbar = document.getElementById('taskbar');
      taskbar.replaceChildren();
      for (const win of Object.values(P.windows)) {
        if (win.panel.hidden) continue;
        const button = el('button', win.id === P.active ? 'active' : '', win.titleText.textContent);
        button.dataset.for = win.id;
        button.addEventListener('click', () => { P.minimise(win.id, false); P.activate(win.id); });
        taskbar.append(button);
      }
    },

    dragPanel(win, e) {
      if (e.button !== 0 || e.target.tagName === 'BUTTON') return;
      const startX = e.clientX - win.panel.offsetLeft;
      const startY = e.clientY - win.panel.offsetTop;
      const caption = e.currentTarget;
      caption.setPointerCapture(e.pointerId);
      const move = (m) => {
        win.panel.style.left = `${m.clientX - startX}px`;
        win.panel.style.top = `${Math.max(0, m.clientY - startY)}px`;
      };
      const up = () => {
        caption.removeEventListener('pointermove', move);
        caption.removeEventListener('pointerup', up);
      };
      caption.addEventListener('pointermove', move);
      caption.addEventListener('pointerup', up);
    },

    // --- Controls

    createControl(window, id, kind, name, x, y, w, h, a, b, c, text) {
      const win = P.windows[window];
      const changed = () => P.push({ kind: Kind.Control, window, control: id, type: Type.Changed });
      let node;
      const control = { id, window, kind };
      if (kind === 'canvas') {
        node = el('canvas');
        node.width = w;
        node.height = h;
        control.border = a;
        if (a) P.drawBorder(node);
        if (b) node.tabIndex = 0;
        P.canvasEvents(node, control, b);
      } else if (kind === 'trackbar') {
        node = el('input');
        node.type = 'range';
        node.min = a;
        node.max = b;
        node.value = a;
        if (c) {
          // Tick marks every sixteenth of the range, as on the desktop.
          const ticks = el('datalist');
          ticks.id = `ticks-${id}`;
          const step = Math.max(1, Math.floor((b - a) / 16));
          for (let v = a; v <= b; v += step) ticks.append(Object.assign(el('option'), { value: v }));
          document.body.append(ticks);
          node.setAttribute('list', ticks.id);
        }
        node.addEventListener('input', changed);
      } else if (kind === 'checkbox') {
        node = el('label', 'checkbox');
        const box = el('input');
        box.type = 'checkbox';
        box.addEventListener('change', changed);
        control.input = box;
        node.append(box, el('span', '', text));
      } else if (kind === 'button') {
        node = el('button', '', text);
        node.addEventListener('click', changed);
      } else if (kind === 'label') {
        node = el('div', a ? 'label centred' : 'label', text);
      } else if (kind === 'text') {
        node = el(a ? 'textarea' : 'input', b ? 'field right' : 'field');
        node.spellcheck = false;
        node.addEventListener('input', changed);
      } else if (kind === 'scroll') {
        node = el('div', 'scroll');
        const inner = el('div', 'inner');
        inner.style.width = `${a}px`;
        inner.style.height = `${b}px`;
        node.append(inner);
        control.inner = inner;
        control.step = c;
        node.addEventListener('wheel', (e) => P.wheel(node, control, e), { passive: false });
      }
      node.dataset.control = name || `control-${id}`;
      node.style.left = `${x}px`;
      node.style.top = `${y}px`;
      node.style.width = `${w}px`;
      node.style.height = `${h}px`;
      control.node = node;
      win.controlArea.append(node);
      if (kind === 'scroll') win.controlArea = control.inner;
      P.controls[id] = control;
    },

    // A sunken two-pixel frame, drawn in the canvas's own pixels around its drawing area.
    drawBorder(canvas) {
      const g = canvas.getContext('2d');
      const w = canvas.width;
      const h = canvas.height;
      const frame = (inset, dark, light) => {
        g.fillStyle = dark;
        g.fillRect(inset, inset, w - 2 * inset, 1);
        g.fillRect(inset, inset, 1, h - 2 * inset);
        g.fillStyle = light;
        g.fillRect(inset, h - 1 - inset, w - 2 * inset, 1);
        g.fillRect(w - 1 - inset, inset, 1, h - 2 * inset);
      };
      frame(0, '#a0a0a0', '#ffffff');
      frame(1, '#696969', '#e3e3e3');
    },

    putPixels(id, bytes, w, h, at) {
      const control = P.controls[id];
      if (!control) return;
      if (!control.context) control.context = control.node.getContext('2d');
      const image = new ImageData(w, h);
      image.data.set(bytes);
      control.context.putImageData(image, at, at);
    },

    // The pointer's canvas pixel, outside (even negative) while a button holds it.
    pixelOf(control, e) {
      const r = control.node.getBoundingClientRect();
      const scale = r.width / control.node.width || 1;
      return [Math.floor((e.clientX - r.left) / scale) - control.border,
              Math.floor((e.clientY - r.top) / scale) - control.border];
    },

    pushPointer(control, type, e) {
      const [x, y] = P.pixelOf(control, e);
      P.pointer = { x: e.clientX, y: e.clientY };
      P.push({ kind: Kind.Control, window: control.window, control: control.id, type, x, y,
               buttons: e.buttons & 7 });
    },

    canvasEvents(node, control, keyboard) {
      let entered = false;
      node.addEventListener('pointerdown', (e) => {
        if (keyboard) node.focus({ preventScroll: true });
        const types = Buttons[e.button];
        if (!types) return;
        node.setPointerCapture(e.pointerId);
        P.pushPointer(control, types[0], e);
        e.preventDefault();
      });
      node.addEventListener('pointerup', (e) => {
        const types = Buttons[e.button];
        if (!types) return;
        P.pushPointer(control, types[1], e);
        // A click counts when released over the canvas or its right or bottom border,
        // counted from the drawing area's origin, as on the desktop.
        const [x, y] = P.pixelOf(control, e);
        const inside = x >= 0 && y >= 0 && x < node.width && y < node.height;
        if (types[2] && inside) P.pushPointer(control, types[2], e);
      });
      node.addEventListener('pointermove', (e) => {
        // A second button pressed or released while another is held comes as a move.
        const types = Buttons[e.button];
        if (types) {
          const down = (e.buttons & (e.button === 1 ? 4 : e.button === 2 ? 2 : 1)) !== 0;
          P.pushPointer(control, down ? types[0] : types[1], e);
          return;
        }
        P.pushPointer(control, entered ? Type.MouseEnter : Type.MouseMove, e);
        entered = false;
      });
      node.addEventListener('pointerenter', () => { entered = true; });
      node.addEventListener('pointerleave', (e) => {
        entered = false;
        if (!node.hasPointerCapture(e.pointerId)) P.pushPointer(control, Type.MouseLeave, e);
      });
      node.addEventListener('dblclick', (e) => P.pushPointer(control, Type.LeftDoubleClick, e));
      node.addEventListener('contextmenu', (e) => e.preventDefault());
      node.addEventListener('wheel', (e) => P.pushPointer(control, Type.Wheel, e),
                            { passive: true });
      if (!keyboard) return;
      const key = (type) => (e) => {
        if (P.modal || P.openMenu || e.ctrlKey || e.altKey || e.metaKey) return;
        const code = Keys[e.key] || 8;
        if (type === Type.KeyUp || !e.repeat || code !== 7) {
          P.pushAtPointer(control, type, code);
        }
        if (type === Type.KeyDown && (e.key.length === 1 || code === 7))
          P.pushAtPointer(control, Type.Character, code);
        if (code !== 8) e.preventDefault();
      };
      node.addEventListener('keydown', key(Type.KeyDown));
      node.addEventListener('keyup', key(Type.KeyUp));
      node.addEventListener('focus', () => P.pushAtPointer(control, Type.FocusGained, 0));
      node.addEventListener('blur', () => P.pushAtPointer(control, Type.FocusLost, 0));
    },

    // Events without a pointer position of their own carry where the pointer was last.
    pushAtPointer(control, type, key) {
      const [x, y] = P.pixelOf(control, { clientX: P.pointer.x, clientY: P.pointer.y });
      P.push({ kind: Kind.Control, window: control.window, control: control.id, type, key, x, y,
               buttons: P.buttons });
    },

    // The wheel scrolls the map by whole steps; with Shift, sideways. Down goes right.
    wheel(node, control, e) {
      e.preventDefault();
      const notches = Math.sign(e.deltaY || e.deltaX);
      const by = notches * wheelLines * control.step;
      if (e.shiftKey || (!e.deltaY && e.deltaX)) node.scrollLeft += by;
      else node.scrollTop += by;
    },

    controlValue(id) {
      const c = P.controls[id];
      return c.kind === 'checkbox' ? (c.input.checked ? 1 : 0) : Number(c.node.value);
    },

    setControlValue(id, value) { P.controls[id].node.value = value; },

    setInnerSize(id, w, h) {
      const inner = P.controls[id].inner;
      inner.style.width = `${Math.max(0, w)}px`;
      inner.style.height = `${Math.max(0, h)}px`;
    },

    setControlText(id, text) {
      const c = P.controls[id];
      if (c.kind === 'text') c.node.value = text;
      else if (c.kind === 'checkbox') c.node.lastChild.textContent = text;
      else if (c.kind !== 'canvas' && c.kind !== 'scroll' && c.kind !== 'trackbar')
        c.node.textContent = text;
    },

    setToolTip(id, text) { P.controls[id].node.title = text; },

    setFocus(id) {
      const c = P.controls[id];
      (c.input || c.node).focus({ preventScroll: true });
    },

    acceptDrops(id) {
      const c = P.controls[id];
      const hasFiles = (e) => e.dataTransfer && Array.from(e.dataTransfer.types).includes('Files');
      const over = (e) => {
        if (!hasFiles(e)) return;
        e.preventDefault();
        e.dataTransfer.dropEffect = 'copy';
      };
      c.node.addEventListener('dragenter', over);
      c.node.addEventListener('dragover', over);
      c.node.addEventListener('drop', async (e) => {
        if (!hasFiles(e)) return;
        e.preventDefault();
        const files = await P.readFiles(e.dataTransfer.files);
        if (files.length) P.push({ kind: Kind.FilesDropped, window: c.window, control: id, files });
      });
    },

    // Pressing on menus and title bars leaves the keyboard focus where it is, as on the
    // desktop: the overview keeps its arrow keys.
    keepFocus(node) {
      node.addEventListener('mousedown', (e) => e.preventDefault());
    },

    // --- Menus

    createMenuBar(menu, window) {
      const win = P.windows[window];
      const bar = el('nav', 'menubar');
      win.client.insertBefore(bar, win.area);
      P.keepFocus(bar);
      win.bar = bar;
      P.menus[menu] = { levels: [bar], items: {}, bar: true, window };
    },

    createPopup(menu) {
      const list = el('ul', 'menu popup');
      list.dataset.menu = `popup-${menu}`;
      list.hidden = true;
      P.keepFocus(list);
      document.body.append(list);
      P.menus[menu] = { levels: [list], items: {}, list };
    },

    addMenuEntry(menu, kind, command, text) {
      const m = P.menus[menu];
      const parent = m.levels[m.levels.length - 1];
      if (kind === 'title') {
        const title = el('div', 'menutitle', text);
        const list = el('ul', 'menu');
        title.append(list);
        m.levels[0].append(title);
        m.levels = [m.levels[0], list];
        title.addEventListener('pointerdown', (e) => {
          if (e.target !== title) return;
          P.toggleMenu(P.openMenu === title ? null : title);
        });
        title.addEventListener('pointerenter', () => { if (P.openMenu) P.toggleMenu(title); });
      } else if (kind === 'submenu') {
        const li = el('li', 'submenu');
        li.append(el('span', 'text', text));
        const list = el('ul', 'menu');
        li.append(list);
        parent.append(li);
        m.levels.push(list);
      } else if (kind === 'end') {
        if (m.levels.length > 2 || (!m.bar && m.levels.length > 1)) m.levels.pop();
      } else if (kind === 'separator') {
        parent.append(el('li', 'separator'));
      } else {
        const [label, accel] = text.split('\t');
        const li = el('li', 'item');
        li.dataset.command = command;
        li.append(el('span', 'check'), el('span', 'text', label), el('span', 'accel', accel || ''));
        li.addEventListener('click', (e) => {
          e.stopPropagation();
          P.closeMenus();
          P.push({ kind: Kind.Command, command });
        });
        parent.append(li);
        if (!(command in m.items)) m.items[command] = li;
      }
    },

    setChecked(menu, command, on) {
      const li = P.menus[menu].items[command];
      if (li) li.classList.toggle('checked', !!on);
    },

    toggleMenu(title) {
      if (P.openMenu) P.openMenu.classList.remove('open');
      P.openMenu = title;
      if (title) title.classList.add('open');
    },

    closeMenus() {
      P.toggleMenu(null);
      if (P.closePopup) P.closePopup();
    },

    addShortcut(window, key, command) {
      P.shortcuts.push({ window, key: key.toUpperCase(), command });
    },

    showPopup(menu, window) {
      P.activate(window);
      const list = P.menus[menu].list;
      const shade = el('div', 'shade');
      document.body.append(shade);
      list.hidden = false;
      list.style.zIndex = ++P.z + 1;
      shade.style.zIndex = P.z;
      // One pixel left of and above the pointer, kept inside the page.
      const x = Math.min(P.pointer.x - 1, innerWidth - list.offsetWidth);
      const y = Math.min(P.pointer.y - 1, innerHeight - list.offsetHeight);
      list.style.left = `${Math.max(0, x)}px`;
      list.style.top = `${Math.max(0, y)}px`;
      P.popupSelection = -1;
      return new Promise((resolve) => {
        P.closePopup = () => {
          P.closePopup = null;
          list.hidden = true;
          list.querySelectorAll('.selected').forEach((li) => li.classList.remove('selected'));
          shade.remove();
          resolve();
        };
        shade.addEventListener('pointerdown', (e) => { e.preventDefault(); P.closePopup(); });
        shade.addEventListener('contextmenu', (e) => e.preventDefault());
        P.popupList = list;
      });
    },

    // Up, Down, Return and Escape in an open popup.
    popupKey(e) {
      const items = Array.from(P.popupList.querySelectorAll(':scope > li.item'));
      e.preventDefault();
      if (e.key === 'Escape') { P.closePopup(); return; }
      if (e.key === 'Enter') { if (items[P.popupSelection]) items[P.popupSelection].click(); return; }
      const step = e.key === 'ArrowDown' ? 1 : e.key === 'ArrowUp' ? -1 : 0;
      if (!step) return;
      P.popupSelection = (P.popupSelection + step + items.length) % items.length;
      items.forEach((li, i) => li.classList.toggle('selected', i === P.popupSelection));
    },

    // --- Keys for the whole page: shortcuts, the Escape state, menus and dialogs.

    keyDown(e) {
      // A key for a dialog stays there, even when it has closed the dialog on its way.
      if (P.modal || (e.target.closest && e.target.closest('.dialog'))) return;
      if (P.closePopup) { P.popupKey(e); return; }
      if (P.openMenu && e.key === 'Escape') { P.toggleMenu(null); e.preventDefault(); return; }
      if (e.ctrlKey && !e.altKey && !e.metaKey && !e.shiftKey && e.key.length === 1) {
        // The program's shortcut keys never reach the browser (Ctrl+O would open a file
        // in the tab), also on a window where they mean nothing.
        const key = e.key.toUpperCase();
        if (!P.shortcuts.some((s) => s.key === key)) return;
        e.preventDefault();
        const found = P.shortcuts.find((s) => s.key === key && s.window === P.active);
        if (found) P.push({ kind: Kind.Command, command: found.command });
        return;
      }
      if (e.key === 'Escape' && !e.repeat && !P.escapeHeld && P.active !== null && !P.openMenu) {
        P.escapeHeld = true;
        P.push({});
      }
    },

    keyUp(e) { if (e.key === 'Escape') P.escapeHeld = false; },

    // --- Dialogs: modal overlays over the whole page.

    dialog(name, title, build) {
      P.closeMenus();
      const shade = el('div', 'shade modal');
      const box = el('div', 'dialog');
      box.dataset.dialog = name;
      box.setAttribute('role', 'dialog');
      box.append(el('header', 'caption', title));
      const body = el('div', 'body');
      const buttons = el('div', 'buttons');
      box.append(body, buttons);
      shade.append(box);
      document.body.append(shade);
      P.modal = true;
      P.escapeHeld = false;
      const focused = document.activeElement;
      return new Promise((resolve) => {
        // A late answer (a file chooser's after Cancel) finds the dialog gone.
        const done = (value) => {
          if (!shade.isConnected) return;
          shade.remove();
          P.modal = false;
          // The control that had the keys before the dialog has them again.
          if (focused && focused.focus) focused.focus({ preventScroll: true });
          resolve(value);
        };
        const button = (text, value, dataName) => {
          const b = el('button', '', text);
          b.dataset.button = dataName;
          b.addEventListener('click', () => done(typeof value === 'function' ? value() : value));
          buttons.append(b);
          return b;
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
      return P.dialog('message', title, (body, button) => {
        body.append(el('p', 'message', text));
        button('OK', undefined, 'ok');
      });
    },

    chooseColour() {
      return P.dialog('colour', 'Select Color', (body, button) => {
        const swatch = el('div', 'swatch');
        const fields = ['Red', 'Green', 'Blue'].map((name) => {
          const label = el('label', '', `${name}: `);
          const input = el('input');
          input.type = 'number';
          input.min = 0;
          input.max = 255;
          input.value = 0;
          input.dataset.field = name.toLowerCase();
          label.append(input);
          body.append(label);
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

    async openDialog(title) {
      P.text = '';
      const file = await P.dialog('open', title, (body, button, done) => {
        const input = el('input');
        input.type = 'file';
        input.addEventListener('change', async () => {
          const files = await P.readFiles(input.files);
          done(files[0] || null);
        });
        input.addEventListener('cancel', () => done(null));
        const choose = el('button', 'choose', 'Choose a file\u2026');
        choose.dataset.button = 'choose';
        choose.addEventListener('click', () => input.click());
        body.append(choose, input);
        button('Cancel', null, 'cancel');
        // Straight to the browser's chooser while the user's key or click still counts.
        if (!navigator.userActivation || navigator.userActivation.isActive) input.click();
        return choose;
      });
      if (!file) return 0;
      P.text = P.store('/open', [file])[0];
      return /\.map$/i.test(file.name) ? 1 : 0;
    },

    async saveDialog(title, filters, index) {
      P.text = '';
      const pattern = filters.split('|')[2 * index + 1] || '';
      const extension = (pattern.match(/\*(\.\w+)/) || [])[1] || '';
      const name = await P.dialog('save', title, (body, button) => {
        const input = el('input', 'name');
        input.value = P.lastSaveName;
        input.dataset.field = 'name';
        body.append(el('label', '', 'File name: '), input);
        if (extension) body.append(el('span', 'extension', `(${extension})`));
        button('Save', () => input.value.trim(), 'ok');
        button('Cancel', '', 'cancel');
        return input;
      });
      if (!name) return;
      P.lastSaveName = name;
      let saved = name.replace(/[\\/]/g, '_');
      P.saveHandle = null;
      if (window.showSaveFilePicker) {
        try {
          const suggested = saved.toLowerCase().endsWith(extension) ? saved : saved + extension;
          P.saveHandle = await window.showSaveFilePicker({ suggestedName: suggested });
          saved = P.saveHandle.name;
        } catch (e) {
          if (e.name === 'AbortError') return;
        }
      }
      FS.mkdirTree('/save');
      for (const n of FS.readdir('/save')) if (n !== '.' && n !== '..') FS.unlink(`/save/${n}`);
      P.text = `/save/${saved}`;
    },

    ended() {
      document.body.replaceChildren();
      document.body.className = 'ended';
      const note = el('main', 'ended');
      note.dataset.ended = '';
      note.append(el('h1', '', 'Tessaly has ended.'));
      const again = el('a', '', 'Start again');
      again.href = location.href;
      note.append(again);
      document.body.append(note);
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
  document.addEventListener('keydown', P.keyDown);
  document.addEventListener('keyup', P.keyUp);
  window.addEventListener('blur', () => { P.escapeHeld = false; });
  document.addEventListener('pointerup', (e) => { P.buttons = e.buttons & 7; }, true);
  document.addEventListener('pointerdown', (e) => {
    P.pointer = { x: e.clientX, y: e.clientY };
    P.buttons = e.buttons & 7;
    if (P.openMenu && !P.openMenu.contains(e.target)) P.toggleMenu(null);
  }, true);
  document.addEventListener('contextmenu', (e) => e.preventDefault());
  // Files dropped anywhere else are not opened by the browser in place of the page.
  document.addEventListener('dragover', (e) => e.preventDefault());
  document.addEventListener('drop', (e) => e.preventDefault());
  return P;
})();
