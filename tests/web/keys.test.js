// Where the keys go: popups and panels as on the desktop, at fractional screen scales too;
// the menus from the keyboard, and what a screen reader is told.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { at, cell, click, launch, menu, openEditor, settle, windowTitle } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

const code = async (page) => Number(((await windowTitle(page, 'main')).match(/ (\d+)\(/) || [0, 0])[1]);
const text = (page, control) => page.$eval(`[data-control="${control}"]`, (e) => e.value || e.textContent);
const keys = async (page, ...list) => {
  for (const key of list.map((k) => k.split('+'))) {
    for (const k of key) await page.keyboard.down(k);
    for (const k of key.reverse()) await page.keyboard.up(k);
  }
  await settle(page);
};
const corner = (page, selector) => page.$eval(selector, (e) => [e.getBoundingClientRect().x, e.getBoundingClientRect().y]);

test('keys, focus and the active panel, as the desktop builds have them', async () => {
  for (const [name, steps, check, want] of [
    ['keys in a popup stay there', async (page) => {
      await click(page, 'overview', ...cell(249), { button: 'right' });
      await page.waitForSelector('.popup:not([hidden])');
      await keys(page, 'ArrowDown', 'ArrowDown', 'Enter');
    }, async (page) => [await code(page), await text(page, 'range-end-label')], [249, 'End range:249:ù']],
    ['the arrows do nothing while the map panel is active', async (page) => {
      await click(page, 'overview', ...cell(5));
      await menu(page, 'Char', 'Map', 'ZX 32x24');
      await keys(page, 'ArrowRight');
    }, code, 5],
    ['closing the map panel makes the main panel active again', async (page) => {
      await menu(page, 'Char', 'Map', 'ZX 32x24');
      await page.click('[data-window="map"] .caption .close');
      await keys(page, 'Control+i');
    }, (page) => text(page, 'data-field'), '255,255,255,255,255,255,255,255'],
    ['both buttons in the glyph editor leave the keys with the overview', async (page) => {
      await page.mouse.move(...await at(page, 'glyph-editor', 40, 40));
      await page.mouse.down({ button: 'right' });
      await page.mouse.down();
      await page.mouse.move(...await at(page, 'glyph-editor', 60, 60));
      await page.mouse.up({ button: 'right' });
      await page.mouse.up();
      await keys(page, 'ArrowRight');
    }, code, 1],
  ]) {
    const page = await openEditor(browser);
    await steps(page);
    assert.deepEqual(await check(page), want, name);
    await page.close();
  }
});

test('popups open at the pointer and panels follow it, at 125 % and 150 %', async () => {
  for (const scale of [1.25, 1.5]) {
    const page = await openEditor(browser, { scale });
    const [x, y] = await at(page, 'overview', ...cell(40));
    await page.mouse.click(x, y, { button: 'right' });
    const [left, top] = await corner(page, '.popup:not([hidden])');
    assert.ok(x - 2 < left && left < x && y - 2 < top && top < y, `${scale}: popup at ${left},${top} for ${x},${y}`);
    await page.keyboard.press('Escape');
    // The panel follows the pointer that drags it by its title bar.
    const [cx, cy] = await corner(page, '[data-window="main"] .caption');
    await page.mouse.move(cx + 20, cy + 5);
    await page.mouse.down();
    await page.mouse.move(cx + 80, cy + 45, { steps: 3 });
    await page.mouse.up();
    const [nx, ny] = await corner(page, '[data-window="main"] .caption');
    assert.ok(Math.abs(nx - cx - 60) < 1 && Math.abs(ny - cy - 40) < 1, `${scale}: moved ${nx - cx},${ny - cy}`);
    await page.close();
  }
});

test('the menus from the keyboard, and their roles', async () => {
  const page = await openEditor(browser);
  // The focused element as a screen reader names it, then the menus open.
  const where = () => page.evaluate(() => [document.activeElement, ...document.querySelectorAll(
    '.menutitle[aria-expanded="true"], .submenu.open')].map((e) => e.ariaLabel ||
    (e.querySelector('.text') || {}).textContent || e.dataset.window).join(' '));
  for (const [list, want] of [
    [['F10', 'ArrowRight', 'ArrowRight', 'ArrowLeft'], 'Char'],
    [['ArrowDown'], 'Map Char'],
    [['ArrowRight'], 'ZX 32x24 Char Map'],
    [['ArrowLeft', 'ArrowUp'], 'Char shift down Char'],
    [['ArrowRight'], 'Open... File'],
    [['Escape', 'Escape'], 'Character set'],
    [['Alt'], 'File'],
    [['Alt'], 'Character set'],
    [['F10', 'Enter', 'Control+i'], 'Character set'],
    [['F10', 'ArrowLeft', 'Enter', 'ArrowRight', 'Enter'], 'map'],
  ]) {
    await keys(page, ...list);
    assert.equal(await where(), want, list.join(' '));
  }
  assert.equal(await text(page, 'data-field'), '255,255,255,255,255,255,255,255');
  assert.deepEqual(await page.evaluate(() => [
    ...['menubar', 'menu', 'menuitem'].map((role) => document.querySelectorAll(`[role="${role}"]`).length),
    ...Array.from(document.querySelectorAll('[role="menuitemcheckbox"]'), (e) => `${e.textContent}=${e.ariaChecked}`),
    ...Array.from(document.querySelectorAll('canvas'), (e) => e.ariaLabel)]),
  [1, 7, 50, 'Grid on map=true', 'Drag mode:swap=true', 'Character set', 'Character editor', 'Character map']);
  await page.close();
});
