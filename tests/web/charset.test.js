// The main window: selecting, drawing, saving and opening sets, the built-in sets, the
// transforms, drags, the range, the colour dialog and dropped files.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { BLACK, WHITE, at, cell, click, dataDir, dialog, launch, menu, openEditor, openFile,
         pixels, saveAs, settle, tempFile, waitTitle } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

const title = (code) => {
  const shown = code >= 32 ? `'${new TextDecoder('windows-1252').decode(Uint8Array.of(code))}'` : '';
  return `tessaly v2 0.9c ${code}($${code.toString(16).toUpperCase().padStart(2, '0')})${shown}`;
};
const dataField = (page) => page.$eval('[data-control="data-field"]', (e) => e.value);
const press = async (page, key, modifier) => {
  if (modifier) await page.keyboard.down(modifier);
  await page.keyboard.press(key);
  if (modifier) await page.keyboard.up(modifier);
  await settle(page);
};

test('selecting by click and with the arrow keys', async () => {
  const page = await openEditor(browser);
  await click(page, 'overview', ...cell(65));
  await waitTitle(page, 'main', title(65));
  for (const [start, key, code] of [[16, 'ArrowLeft', 31], [5, 'ArrowUp', 245],
                                     [255, 'ArrowRight', 240], [250, 'ArrowDown', 10]]) {
    await click(page, 'overview', ...cell(start));
    await waitTitle(page, 'main', title(start));
    await press(page, key);
    await waitTitle(page, 'main', title(code));
  }
  // Menus and dialogs leave the keys with the overview.
  await menu(page, 'Char', 'Drag mode:copy');
  await menu(page, 'Char', 'Color for bit=0...');
  await (await dialog(page, 'colour')).$eval('[data-button="cancel"]', (e) => e.click());
  await press(page, 'ArrowRight');
  await waitTitle(page, 'main', title(11));
  await page.close();
});

test('drawing, saving the set and the picture, erasing and opening it again', async () => {
  const page = await openEditor(browser);
  await page.mouse.move(...await at(page, 'glyph-editor', 8, 8));
  await page.mouse.down();
  for (const column of [1, 2, 3]) await page.mouse.move(...await at(page, 'glyph-editor', 16 * column + 8, 9));
  await page.mouse.up();
  await click(page, 'glyph-editor', 8, 24);
  await settle(page);
  const overview = await pixels(page, 'overview');
  for (let y = 0; y < 4; y++) {
    for (let x = 0; x < 8; x += 2) {
      if ((x + y) % 2 === 0) assert.deepEqual(overview(x, y), y < 2 || x < 2 ? WHITE : BLACK, `${x},${y}`);
    }
  }
  await menu(page, 'File', 'Save', 'IBM 256 chars(2048bytes)');
  const set = await saveAs(page, 'set', 'set.fnt');
  assert.equal(set.length, 2048);
  assert.deepEqual([set[0], set[1]], [0xf0, 0x80]);
  assert.ok(set.subarray(2).every((b) => b === 0), 'other bytes are not zero');

  await menu(page, 'File', 'Save', 'Characters image');
  const dialogName = await (await dialog(page, 'save')).$eval('input', (e) => e.value);
  assert.equal(dialogName, 'set', 'the last name is not offered');
  const bmp = await saveAs(page, 'picture', 'picture.bmp');
  assert.equal(bmp.toString('latin1', 0, 2), 'BM');
  assert.deepEqual([bmp.readUInt32LE(2), bmp.readUInt32LE(10), bmp.readInt32LE(18),
                    bmp.readInt32LE(22), bmp.readUInt16LE(28)], [bmp.length, 54, 256, 256, 24]);
  const bgr = (x, y) => Array.from(bmp.subarray(54 + (255 - y) * 768 + 3 * x, 57 + (255 - y) * 768 + 3 * x)).reverse();
  assert.deepEqual([bgr(0, 0), bgr(1, 0), bgr(8, 0)], [WHITE, WHITE, BLACK]);

  await menu(page, 'Char', 'Erase all charset');
  await settle(page);
  assert.deepEqual((await pixels(page, 'overview'))(2, 0), BLACK);
  await openFile(page, tempFile('set.fnt', set));
  const loaded = await pixels(page, 'overview');
  assert.deepEqual([loaded(2, 0), loaded(0, 2), loaded(2, 2)], [WHITE, WHITE, BLACK]);
  await page.close();
});

test('a built-in set', async () => {
  const page = await openEditor(browser);
  await menu(page, 'Char', 'Charset', 'ZX Spectrum');
  await settle(page);
  const overview = await pixels(page, 'overview');
  const grey = [203, 203, 203];
  for (let y = 0; y < 16; y++) for (let x = 0; x < 16; x++) assert.deepEqual(overview(x, 32 + y), grey);
  const a = [];
  for (let y = 0; y < 16; y++) for (let x = 0; x < 16; x++) a.push(overview(16 + x, 64 + y).join());
  assert.deepEqual(new Set(a), new Set([grey.join(), BLACK.join()]));
  await page.close();
});

test('the transforms from keys, menus and buttons, and over a range', async () => {
  const page = await openEditor(browser);
  await openFile(page, tempFile('glyph.fnt', Buffer.from([192, 128, 0, 0, 0, 0, 0, 1])));
  const button = (name) => async () => { await page.click(`[data-control="${name}"]`); await settle(page); };
  const steps = [
    ['Ctrl+I', () => press(page, 'i', 'Control'), '63,127,255,255,255,255,255,254'],
    ['Invert', () => menu(page, 'Char', 'Invert'), '192,128,0,0,0,0,0,1'],
    ['left-right', () => menu(page, 'Char', 'Revert char left-right'), '3,1,0,0,0,0,0,128'],
    ['up-down', () => menu(page, 'Char', 'Revert char up-down'), '128,0,0,0,0,0,1,3'],
    ['<', button('shift-left'), '1,0,0,0,0,0,2,6'],
    ['^', button('shift-up'), '0,0,0,0,0,2,6,1'],
    ['v', button('shift-down'), '1,0,0,0,0,0,2,6'],
    ['>', button('shift-right'), '128,0,0,0,0,0,1,3'],
    ['Clear', () => menu(page, 'Char', 'Clear character'), '0,0,0,0,0,0,0,0'],
  ];
  for (const [name, step, want] of steps) {
    await step();
    await settle(page);
    assert.equal(await dataField(page), want, name);
  }
  // The range 1..2: the sliders set it, the check box turns it on, Ctrl+I inverts it all.
  await page.focus('[data-control="range-begin"]');
  await press(page, 'ArrowRight');
  await page.focus('[data-control="range-end"]');
  await press(page, 'ArrowRight');
  await press(page, 'ArrowRight');
  assert.equal(await page.$eval('[data-control="range-begin-label"]', (e) => e.textContent), 'BeginRange:1');
  assert.equal(await page.$eval('[data-control="range-end-label"]', (e) => e.textContent), 'End range:2');
  await page.click('[data-control="range-enable"] input');
  await click(page, 'overview', ...cell(0));
  await press(page, 'i', 'Control');
  for (const [code, want] of [[0, '0'], [1, '255'], [2, '255'], [3, '0']]) {
    await click(page, 'overview', ...cell(code));
    await settle(page);
    assert.equal(await dataField(page), Array(8).fill(want).join(), `glyph ${code}`);
  }
  await page.close();
});

test('dragging a glyph swaps it, or copies it in copy mode', async () => {
  const page = await openEditor(browser);
  const rows = (v) => Array(8).fill(v);
  await openFile(page, tempFile('three.fnt', Buffer.from([...rows(1), ...rows(2), ...rows(3)])));
  const drag = async (from, to) => {
    await page.mouse.move(...await at(page, 'overview', ...cell(from)));
    await page.mouse.down();
    await page.mouse.move(...await at(page, 'overview', ...(Array.isArray(to) ? to : cell(to))));
    await page.mouse.up();
    await settle(page);
  };
  const glyph = async (code) => {
    await click(page, 'overview', ...cell(code));
    await settle(page);
    return Number((await dataField(page)).split(',')[0]);
  };
  await drag(1, 2);
  assert.deepEqual([await glyph(1), await glyph(2)], [3, 2]);
  await menu(page, 'Char', 'Drag mode:copy');
  assert.deepEqual(await page.$$eval('.menubar li.checked .text', (l) => l.map((e) => e.textContent)),
                   ['Grid on map', 'Drag mode:copy']);
  await drag(0, 1);
  assert.deepEqual([await glyph(0), await glyph(1)], [1, 1]);
  // Captured, the release a few pixels left of the overview (at x = -5) still drops on
  // column 0.
  await drag(2, [-5, 8]);
  assert.deepEqual([await glyph(0), await glyph(2)], [2, 2]);
  await page.close();
});

test('the colour dialog sets the ink; Cancel changes nothing', async () => {
  const page = await openEditor(browser);
  await page.keyboard.down('Control');
  await page.keyboard.press('i');
  await page.keyboard.up('Control');
  for (const [button, want] of [['cancel', WHITE], ['ok', [255, 128, 0]]]) {
    await menu(page, 'Char', 'Color for bit=1...');
    const box = await dialog(page, 'colour');
    assert.equal(await box.$eval('[data-field="red"]', (e) => e.value), '0', 'opens at black');
    for (const [field, value] of [['red', '255'], ['green', '128']]) {
      await box.$eval(`[data-field="${field}"]`, (e, v) => { e.value = v; e.dispatchEvent(new Event('input')); }, value);
    }
    assert.equal(await box.$eval('.swatch', (e) => e.style.background), 'rgb(255, 128, 0)');
    await box.$eval(`[data-button="${button}"]`, (e) => e.click());
    await settle(page);
    assert.deepEqual((await pixels(page, 'overview'))(2, 2), want, button);
  }
  await page.close();
});

test('a file dropped on the overview loads at the current character', async () => {
  const page = await openEditor(browser);
  await click(page, 'overview', ...cell(65));
  await settle(page);
  const file = path.join(dataDir, 'letter_a.fnt');
  const [x, y] = await at(page, 'overview', 100, 100);
  const session = await page.createCDPSession();
  const data = { items: [], files: [file], dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop'])
    await session.send('Input.dispatchDragEvent', { type, x, y, data });
  await page.waitForFunction((want) =>
    document.querySelector('[data-control="data-field"]').value === want, { timeout: 5000 },
  Array.from(fs.readFileSync(file)).join());
  await page.close();
});
