// Fingers and pens: strokes draw as the mouse's do, a long press and the pen's barrel button
// are the right button, taps open menus, a finger drags a panel.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { at, cell, click, entry, launch, openEditor, pixels, settle, waitTitle }
  from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

// The page on a touch screen (a coarse pointer); fingers through the DevTools protocol.
const touchEditor = async () => {
  const page = await openEditor(browser, { touch: true });
  page.cdp = await page.createCDPSession();
  return page;
};
const touch = (page, type, ...points) => page.cdp.send('Input.dispatchTouchEvent',
  { type, touchPoints: points.map(([x, y], id) => ({ x, y, id })) });
// A long press, on the point touched, trembling by a pixel or two: held until the program
// has taken its timer, which a loaded machine may do well after the half second.
const hold = async (page, [x, y]) => {
  await touch(page, 'touchMove', [x + 2, y + 1]);
  await page.waitForFunction(() => !Page.queue.length && !Page.timers, { timeout: 5000 });
};

// A stroke through page points with the left or right button: by the mouse, a pen (the
// right button is its barrel button) or a finger (held still first for the right button,
// with a second finger's touch and move on the way if given).
const pointer = (pointerType) => async (page, points, button) => {
  const send = (type, [x, y], more) => page.cdp.send('Input.dispatchMouseEvent',
    { type, x, y, pointerType, button, buttons: button === 'right' ? 2 : 1, clickCount: 1, ...more });
  await send('mouseMoved', points[0], { button: 'none', buttons: 0 });
  await send('mousePressed', points[0]);
  for (const point of points.slice(1)) await send('mouseMoved', point);
  await send('mouseReleased', points.at(-1), { buttons: 0 });
};
const strokeBy = {
  mouse: pointer('mouse'),
  pen: pointer('pen'),
  async finger(page, [first, ...rest], button, second) {
    await touch(page, 'touchStart', first);
    if (button === 'right') await hold(page, first);
    for (const point of rest) await touch(page, 'touchMove', point);
    if (second) await touch(page, 'touchStart', rest.at(-1), second);
    if (second) await touch(page, 'touchMove', rest.at(-1), [second[0] + 20, second[1]]);
    await touch(page, 'touchEnd');
  },
};

test('a finger and a pen draw in the glyph editor the pixels the mouse draws', async () => {
  const page = await touchEditor();
  const onEditor = async ([column, row]) =>
    (await at(page, 'glyph-editor', 16 * column + 8, 16 * row + 8)).map(Math.round);
  const row = (y, ...columns) => columns.map((x) => [x, y]);
  // Strokes through glyph pixels (the ninth column is off the canvas), the first with a
  // second finger on the way.
  const strokes = [[row(0, 0, 1, 2, 9, 3), 'left', [5, 1]], [row(4, 0, 1, 2, 3, 4, 5, 6, 7), 'left'],
                   [row(4, 2, 3, 5), 'right']];
  const drawn = {};
  for (const [code, [kind, draw]] of Object.entries(strokeBy).entries()) {
    await click(page, 'overview', ...cell(16 + code));
    for (const [points, button, second] of strokes) {
      const path = await Promise.all(points.map(onEditor));
      await draw(page, path, button, second && await onEditor(second));
      await settle(page);
    }
    const pixel = await pixels(page, 'glyph-editor');
    drawn[kind] = [0, 1, 4].map((y) =>
      [...Array(8).keys()].map((x) => (pixel(16 * x + 8, 16 * y + 8)[0] ? '#' : '.')).join(''));
  }
  assert.deepEqual(drawn.mouse, ['####....', '........', '##..#.##']);
  assert.deepEqual(drawn, { mouse: drawn.mouse, pen: drawn.mouse, finger: drawn.mouse });
  await page.close();
});

test('taps choose from menus; a finger drags a panel; a long press opens the popups', async () => {
  const page = await touchEditor();
  const tap = async (handle) => {
    const box = await handle.boundingBox();
    await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
  };
  await tap(await entry(page, '.menutitle', 'Char'));
  const heights = await page.$$eval('.menutitle.open > .menu > li.item',
                                    (items) => items.map((e) => e.offsetHeight));
  assert.ok(heights.every((h) => h >= 32), `menu items ${heights} high`);
  await tap(await entry(page, '.menutitle.open li.submenu', 'Map'));
  await tap(await entry(page, '.menutitle.open li.item', 'ZX 32x24'));

  const place = () => page.$eval('[data-window="map"]', (e) => [e.offsetLeft, e.offsetTop]);
  const [left, top] = await place();
  const box = await (await page.waitForSelector('[data-window="map"] .caption .title')).boundingBox();
  const [x, y] = [Math.round(box.x + 20), Math.round(box.y + 5)];
  await touch(page, 'touchStart', [x, y]);
  for (const step of [1, 2, 3]) await touch(page, 'touchMove', [x + 10 * step, y + 7 * step]);
  await touch(page, 'touchEnd');
  assert.deepEqual(await place(), [left + 30, top + 21], 'the panel did not follow the finger');

  // The right press at the finger's cell: the map's popup, and the overview's for its cell,
  // one pixel left of and above where the finger lifted.
  const rows = [['map', [56, 88], 'Delete row'], ['overview', cell(64), 'Set end range']];
  for (const [control, point, item] of rows) {
    const [fx, fy] = (await at(page, control, ...point)).map(Math.round);
    await touch(page, 'touchStart', [fx, fy]);
    await hold(page, [fx, fy]);
    await touch(page, 'touchEnd');
    const popup = await page.waitForSelector('.popup:not([hidden])', { timeout: 5000 });
    const shown = await popup.evaluate((e, text) =>
      [e.offsetLeft, e.offsetTop, e.textContent.includes(text)], item);
    assert.deepEqual(shown, [fx + 1, fy, true], control);
    await page.touchscreen.tap(5, 5);
    await page.waitForSelector('.popup:not([hidden])', { hidden: true, timeout: 5000 });
  }
  await waitTitle(page, 'main', "tessaly v2 0.9c 64($40)'@'");
  await page.close();
});
