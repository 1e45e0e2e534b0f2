// Fingers and pens: strokes draw as the mouse's do, a long press and the pen's barrel button
// are the right button, taps open menus and submenus, a finger drags a panel.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { at, cell, click, launch, openEditor, pixels, ready, settle, waitTitle } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const longer = 700; // than a long press

// The page on a touch screen: a coarse pointer, fingers through the DevTools protocol.
const touchEditor = async () => {
  const page = await openEditor(browser);
  await page.setViewport({ width: 1280, height: 900, hasTouch: true });
  await ready(page);
  page.cdp = await page.createCDPSession();
  return page;
};
const touch = (page, type, ...points) => page.cdp.send('Input.dispatchTouchEvent',
  { type, touchPoints: points.map(([x, y], id) => ({ x, y, id })) });
// A finger is held on the point it touched, trembling by a pixel or two.
const hold = async (page, [x, y]) => {
  await touch(page, 'touchMove', [x + 2, y + 1]);
  await pause(longer);
};
const longPress = async (page, point) => {
  await touch(page, 'touchStart', point);
  await hold(page, point);
  await touch(page, 'touchEnd');
};
const centre = async (handle) => {
  const box = await handle.boundingBox();
  return [Math.round(box.x + box.width / 2), Math.round(box.y + box.height / 2)];
};

// One stroke through page points by each kind of pointer; `right` for the right button (the
// pen's barrel button, a finger held still first); `second` a second finger's point.
const strokeBy = {
  async mouse(page, { points, right }) {
    const button = right ? 'right' : 'left';
    await page.mouse.move(...points[0]);
    await page.mouse.down({ button });
    for (const point of points.slice(1)) await page.mouse.move(...point);
    await page.mouse.up({ button });
  },
  async finger(page, { points, right, second }) {
    await touch(page, 'touchStart', points[0]);
    if (right) await hold(page, points[0]);
    for (const point of points.slice(1)) {
      await touch(page, 'touchMove', point);
      if (second) await touch(page, 'touchStart', point, second);
      if (second) await touch(page, 'touchMove', point, [second[0] + 20, second[1]]);
    }
    await touch(page, 'touchEnd');
  },
  async pen(page, { points, right }) {
    const [button, buttons] = right ? ['right', 2] : ['left', 1];
    const send = (type, [x, y], more) =>
      page.cdp.send('Input.dispatchMouseEvent', { type, x, y, pointerType: 'pen', ...more });
    await send('mouseMoved', points[0]);
    await send('mousePressed', points[0], { button, buttons, clickCount: 1 });
    for (const point of points.slice(1)) await send('mouseMoved', point, { buttons });
    await send('mouseReleased', points.at(-1), { button, buttons: 0, clickCount: 1 });
  },
};

test('a finger and a pen draw in the glyph editor the pixels the mouse draws', async () => {
  const page = await touchEditor();
  // Strokes through glyph pixels [column, row]; the 9th column is off the canvas.
  const rows = [
    ['a tap', [{ points: [[2, 3]] }]],
    ['a line', [{ points: [[0, 0], [1, 0], [2, 0], [3, 1]] }]],
    ['off the canvas and back', [{ points: [[6, 6], [7, 7], [9, 7], [7, 5]] }]],
    ['ink, then paper with the right button', [{ points: [...Array(8).keys()].map((x) => [x, 4]) },
                                               { points: [[2, 4], [3, 4], [5, 4]], right: true }]],
    ['a second finger meanwhile', [{ points: [[0, 6], [2, 6], [4, 6]], second: [5, 1] }]],
  ];
  const onEditor = async ([column, row]) =>
    (await at(page, 'glyph-editor', 16 * column + 8, 16 * row + 8)).map(Math.round);
  let code = 16;
  for (const [name, strokes] of rows) {
    const drawn = {};
    for (const [kind, draw] of Object.entries(strokeBy)) {
      await click(page, 'overview', ...cell(code++));
      for (const stroke of strokes) {
        const points = await Promise.all(stroke.points.map(onEditor));
        await draw(page, { ...stroke, points, second: stroke.second && await onEditor(stroke.second) });
        await settle(page);
      }
      const pixel = await pixels(page, 'glyph-editor');
      drawn[kind] = [...Array(8).keys()].map((row) => [...Array(8).keys()].map((column) =>
        (pixel(16 * column + 8, 16 * row + 8)[0] ? '#' : '.')).join('')).join('\n');
    }
    assert.match(drawn.mouse, /#/, `${name}: the mouse drew nothing`);
    assert.equal(drawn.finger, drawn.mouse, `${name}: the finger`);
    assert.equal(drawn.pen, drawn.mouse, `${name}: the pen`);
  }
  await page.close();
});

test('taps choose from menus; a finger drags a panel; a long press opens the popups', async () => {
  const entry = async (page, scope, text) => (await page.evaluateHandle((scope, text) =>
    Array.from(document.querySelectorAll(scope)).find((e) =>
      (e.querySelector(':scope > .text') || e).firstChild.textContent === text), scope, text)).asElement();
  const itemHeights = (page) => page.$$eval('.menutitle.open > .menu > li.item', (items) =>
    items.map((e) => e.offsetHeight));
  // Under a mouse the menus keep the desktop's look.
  const desk = await openEditor(browser);
  await (await entry(desk, '.menutitle', 'Char')).click();
  assert.ok((await itemHeights(desk)).every((h) => h === 20), 'menu items resized under a mouse');
  await desk.close();

  const page = await touchEditor();
  const tap = async (scope, text) => page.touchscreen.tap(...await centre(await entry(page, scope, text)));
  await tap('.menutitle', 'Char');
  assert.ok((await itemHeights(page)).every((h) => h >= 32), 'menu items too small for a finger');
  await tap('.menutitle.open li.submenu', 'Map');
  await tap('.menutitle.open li.item', 'ZX 32x24');
  await page.waitForSelector('[data-window="map"]:not([hidden])', { timeout: 5000 });

  const place = () => page.$eval('[data-window="map"]', (e) => [e.offsetLeft, e.offsetTop]);
  const [left, top] = await place();
  const [x, y] = await centre(await page.$('[data-window="map"] .caption .title'));
  await touch(page, 'touchStart', [x, y]);
  for (const step of [1, 2, 3]) await touch(page, 'touchMove', [x + 10 * step, y + 7 * step]);
  await touch(page, 'touchEnd');
  assert.deepEqual(await place(), [left + 30, top + 21], 'the panel did not follow the finger');

  // The right press at the finger's cell: the map's popup, and the overview's for its cell.
  const rows = [['map', [3 * 16 + 8, 5 * 16 + 8], 'Delete row'],
                ['overview', cell(64), 'Set end range']];
  for (const [control, point, item] of rows) {
    const finger = (await at(page, control, ...point)).map(Math.round);
    await longPress(page, finger);
    const popup = await page.waitForSelector('.popup:not([hidden])', { timeout: 5000 });
    const [popupX, popupY, items] = await popup.evaluate((e) => [e.offsetLeft, e.offsetTop, e.textContent]);
    assert.ok(items.includes(item), `${control}: not its popup`);
    // One pixel left of and above where the finger lifted, after its tremble of (2, 1).
    assert.deepEqual([popupX, popupY], [finger[0] + 1, finger[1]], `${control}: the popup's place`);
    await page.touchscreen.tap(5, 5);
    await page.waitForSelector('.popup:not([hidden])', { hidden: true, timeout: 5000 });
  }
  await waitTitle(page, 'main', "tessaly v2 0.9c 64($40)'@'");
  await page.close();
});
