// The page's translation: native input in, the raw event records the program takes out
// (controls and windows by their names here, commands by their menu items' texts).

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { at, launch, menu, openEditor, settle } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

test('native input in, event records out', async () => {
  const page = await openEditor(browser);
  await page.evaluate(() => {
    window.records = [];
    const push = Page.push;
    Page.push = (event) => { window.records.push(event); push(event); };
  });
  // The program's own wake-ups after a frame are no input.
  const taken = () => page.evaluate(() => window.records.splice(0).filter((e) => e.kind !== 'Wake').map((event) => {
    const named = { ...event };
    if ('control' in event) named.control = Page.controls[event.control].node.dataset.control;
    if ('window' in event) named.window = Page.windows[event.window].panel.dataset.window;
    if ('command' in event) {
      named.command = document.querySelector(`li[data-command="${event.command}"] .text`).textContent;
    }
    return named;
  }));
  const overview = (x, y, kind, more) => ({ kind, control: 'overview', x, y, ...more });
  const glyph = (x, y, kind, more) => ({ kind, control: 'glyph-editor', x, y, ...more });
  const move = async (x, y) => page.mouse.move(...await at(page, 'overview', x, y));
  const key = (name) => async () => { await page.keyboard.down(name); await page.keyboard.up(name); };
  const rows = [
    ['a move', () => move(10, 20), [overview(10, 20, 'PointerMove', { buttons: 0 })]],
    ['a press', () => page.mouse.down(), [overview(10, 20, 'PointerDown', { button: 'Left', buttons: 1 })]],
    ['a move off the canvas while held', () => move(-5, 8), [overview(-5, 8, 'PointerMove', { buttons: 1 })]],
    ['the release there', () => page.mouse.up(),
     [overview(-5, 8, 'PointerUp', { button: 'Left', buttons: 0 }), { kind: 'PointerLeave', control: 'overview' }]],
    ['a right press and release on the glyph editor', async () => {
      await page.mouse.move(...await at(page, 'glyph-editor', 30, 40));
      await page.mouse.down({ button: 'right' });
      await page.mouse.up({ button: 'right' });
    }, [glyph(30, 40, 'PointerMove', { buttons: 0 }), glyph(30, 40, 'PointerDown', { button: 'Right', buttons: 2 }),
        glyph(30, 40, 'PointerUp', { button: 'Right', buttons: 0 })]],
    ['a middle press and release: nothing', async () => { await page.mouse.down({ button: 'middle' }); await page.mouse.up({ button: 'middle' }); }, []],
    ['keys on the overview', async () => { await key('ArrowLeft')(); await key('a')(); },
     [{ kind: 'KeyDown', control: 'overview', key: 'Left' }, { kind: 'KeyUp', control: 'overview', key: 'Left' },
      { kind: 'KeyDown', control: 'overview', key: 'Other' }, { kind: 'KeyUp', control: 'overview', key: 'Other' }]],
    ['a key held: no repeated downs', async () => { await page.keyboard.down('Insert'); await page.keyboard.down('Insert'); await page.keyboard.up('Insert'); },
     [{ kind: 'KeyDown', control: 'overview', key: 'Insert' }, { kind: 'KeyUp', control: 'overview', key: 'Insert' }]],
    ['a shortcut', async () => { await page.keyboard.down('Control'); await key('i')(); await page.keyboard.up('Control'); },
     [{ kind: 'Command', command: 'Invert' }]],
    ['a slider moved by the user', async () => { await page.focus('[data-control="range-end"]'); await key('ArrowRight')(); },
     [{ kind: 'ControlChanged', control: 'range-end', value: 1 }]],
    ['the check box and a button', async () => { await page.click('[data-control="range-enable"] input'); await page.click('[data-control="shift-up"]'); },
     [{ kind: 'PointerLeave', control: 'glyph-editor' }, { kind: 'ControlChanged', control: 'range-enable', value: 1 },
      { kind: 'ControlChanged', control: 'shift-up', value: 0 }]],
    ['a slider moved by the program: only the command', () => menu(page, 'Char', 'Set begin range'),
     [{ kind: 'Command', command: 'Set begin range' }]],
    ['a close box', async () => { await menu(page, 'Char', 'Map', 'ZX 32x24'); await page.click('[data-window="map"] .caption .close'); },
     [{ kind: 'Command', command: 'ZX 32x24' }, { kind: 'WindowClosed', window: 'map' }]],
  ];
  for (const [name, action, want] of rows) {
    await action();
    await settle(page);
    assert.deepEqual(await taken(), want, name);
  }
  // Escape down in the program's panel ends the program.
  await page.focus('[data-control="range-end"]');
  await page.keyboard.down('Escape');
  await page.waitForSelector('[data-ended]');
  assert.deepEqual(await taken(), [{ kind: 'KeyDown', key: 'Escape' }]);
  await page.close();
});
