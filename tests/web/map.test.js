// The map panel: the size commands, hovering and painting, the popup's operations, saving,
// opening and dropping a map, the wheel, minimising, closing.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { at, click, launch, menu, openEditor, openFile, popupItem, saveAs, settle, tempFile,
         waitTitle, windowTitle } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

const centre = (x, y) => [16 * x + 8, 16 * y + 8];
// Moves onto map cell (x, y): the first move onto a canvas only counts as entering it.
const hover = async (page, x, y) => {
  const [px, py] = await at(page, 'map', ...centre(x, y));
  await page.mouse.move(px + 1, py);
  await page.mouse.move(px, py);
  await settle(page);
};
const shown = (page) => page.$eval('[data-window="map"]', (e) =>
  !e.hidden && getComputedStyle(e).display !== 'none');

test('the size commands show the map; painting, the popup and the saved bytes', async () => {
  const page = await openEditor(browser);
  await menu(page, 'Char', 'Map', 'ZX 32x24');
  assert.ok(await shown(page));
  const place = await page.evaluate(() => ['main', 'map'].map((w) => {
    const e = document.querySelector(`[data-window="${w}"]`);
    return [e.offsetLeft, e.offsetTop];
  }));
  assert.deepEqual([place[1][0] - place[0][0], place[1][1] - place[0][1]], [40, 40]);
  assert.deepEqual(await page.$eval('[data-control="map-scroll"] .inner', (e) =>
    [e.offsetWidth, e.offsetHeight]), [512, 384]);

  await hover(page, 3, 5);
  await waitTitle(page, 'map', 'Character map (3,5):35[23]');
  await click(page, 'map', ...centre(3, 5));
  await hover(page, 4, 5);
  await hover(page, 3, 5);
  await waitTitle(page, 'map', 'Character map (3,5):0[00]');
  // A right click on row 2, then "Delete row" from the popup.
  await click(page, 'map', ...centre(0, 2), { button: 'right' });
  await popupItem(page, 'Delete row');
  await settle(page);

  await menu(page, 'File', 'Save', 'Character_map');
  const map = await saveAs(page, 'screen', 'screen.map');
  assert.equal(map.length, 32 * 24);
  const cell = (x, y) => map[y * 32 + x];
  assert.ok([...Array(32).keys()].every((x) => cell(x, 0) === 32 + x), 'row 0 changed');
  assert.deepEqual([cell(3, 4), cell(2, 4)], [0, 34], 'the painted cell did not move up');
  assert.ok([...Array(32).keys()].every((x) => cell(x, 23) === 0), 'the last row is not cleared');
  await page.close();
});

test('a map opened as the Open dialog\'s type says, whatever its name, and one dropped on the map', async () => {
  const page = await openEditor(browser);
  await menu(page, 'Char', 'Map', 'ZX 32x24');
  // Ctrl+O belongs to the main window, which the map panel has just left behind it.
  await page.click('[data-window="main"] .caption .title');
  // The type chosen in the dialog decides, not the file's name.
  await openFile(page, tempFile('codes.fnt', Buffer.from([...Array(768).keys()].map((i) => i % 251))),
                 'Character map (*.map)');
  // The main panel covers the map panel now; the task bar brings it back to the front.
  await page.click('#taskbar [data-for="1"]');
  await hover(page, 1, 1);
  await waitTitle(page, 'map', 'Character map (1,1):33[21]');
  assert.equal(await windowTitle(page, 'main'), 'tessaly v2 0.9c', 'the map loaded as a set');

  const [x, y] = await at(page, 'map', 100, 100);
  const session = await page.createCDPSession();
  const data = { items: [], files: [tempFile('sevens.map', Buffer.alloc(768, 7))], dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop'])
    await session.send('Input.dispatchDragEvent', { type, x, y, data });
  await settle(page);
  await hover(page, 2, 2);
  await waitTitle(page, 'map', 'Character map (2,2):7[07]');
  await page.close();
});

test('the wheel scrolls the map, down and with Shift sideways; minimise, restore, close', async () => {
  const page = await openEditor(browser);
  await menu(page, 'Char', 'Map', 'PC 80x50');
  await hover(page, 2, 2);
  await waitTitle(page, 'map', 'Character map (2,2):34[22]');
  const [px, py] = await at(page, 'map', ...centre(2, 2));
  const hovered = async () => {
    await page.mouse.move(px + 1, py);
    await page.mouse.move(px, py);
    await settle(page);
    return (await windowTitle(page, 'map')).match(/\((\d+),(\d+)\)/).slice(1).map(Number);
  };
  await page.mouse.wheel({ deltaY: 100 });
  await settle(page);
  const [x, y] = await hovered();
  assert.ok(x === 2 && y > 2, `the wheel down went to ${x},${y}`);
  await page.keyboard.down('Shift');
  await page.mouse.wheel({ deltaY: 100 });
  await page.keyboard.up('Shift');
  assert.deepEqual(await hovered(), [2 + (y - 2), y]);

  // Dragged by its title bar, the panel moves with the pointer.
  const place = () => page.$eval('[data-window="map"]', (e) => [e.offsetLeft, e.offsetTop]);
  const [left, top] = await place();
  const caption = await (await page.$('[data-window="map"] .caption .title')).boundingBox();
  await page.mouse.move(caption.x + 20, caption.y + 5);
  await page.mouse.down();
  await page.mouse.move(caption.x + 50, caption.y + 25, { steps: 3 });
  await page.mouse.up();
  assert.deepEqual(await place(), [left + 30, top + 20]);

  await page.click('[data-window="map"] .caption .minimise');
  assert.equal(await shown(page), false);
  await menu(page, 'Char', 'Map', 'USSR 64x30');
  assert.equal(await shown(page), true);
  await page.click('[data-window="map"] .caption .close');
  await settle(page);
  assert.equal(await shown(page), false);
  assert.equal(await page.$('[data-ended]'), null, 'closing the map ended the editor');
  await menu(page, 'Char', 'Map', 'ZX 32x24');
  assert.equal(await shown(page), true);
  await page.close();
});
