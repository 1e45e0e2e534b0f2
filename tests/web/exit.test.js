// The ways the program ends, and the Escape that must not end it.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { at, click, dialog, launch, menu, openEditor, ready, settle, waitTitle } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

const ended = (page) => page.waitForSelector('[data-ended]', { timeout: 5000 });

for (const [name, end] of [
  ['Escape', (page) => page.keyboard.press('Escape')],
  ['File > Quit', (page) => menu(page, 'File', 'Quit')],
  ['the main window\'s close box', (page) => page.click('[data-window="main"] .caption .close')],
]) {
  test(`${name} ends the program and leaves a page that starts it again`, async () => {
    const page = await openEditor(browser);
    await end(page);
    const note = await ended(page);
    assert.equal(await note.$eval('h1', (e) => e.textContent), 'Tessaly has ended.');
    assert.equal(await page.$('[data-window]'), null);
    await Promise.all([page.waitForNavigation(), note.$eval('a', (e) => e.click())]);
    await ready(page);
    assert.equal(await page.title(), 'tessaly v2 0.9c');
    await page.close();
  });
}

test('an Escape that closes a dialog, a popup or a menu does not end the program', async () => {
  const page = await openEditor(browser);
  await menu(page, 'Char', 'Color for bit=0...');
  await dialog(page, 'colour');
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => !document.querySelector('[data-dialog]'));
  await page.click('[data-window="main"] .menutitle');
  await page.keyboard.press('Escape');
  await page.mouse.click(...await page.$eval('canvas[data-control="overview"]', (c) => {
    const r = c.getBoundingClientRect();
    return [r.left + 20, r.top + 20];
  }), { button: 'right' });
  await page.waitForSelector('.popup:not([hidden])');
  await page.keyboard.press('Escape');
  await settle(page);
  assert.equal(await page.$('[data-ended]'), null);
  assert.equal(await page.$eval('.popup', (e) => e.hidden), true);
  await page.close();
});

test('a burst of input, then Escape: the page keeps up and ends cleanly', async () => {
  const page = await openEditor(browser);
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  let seed = 7;
  const random = (n) => { seed = (seed * 1103515245 + 12345) % 2147483648; return seed % n; };
  const origins = { overview: await at(page, 'overview', 0, 0),
                    'glyph-editor': await at(page, 'glyph-editor', 0, 0) };
  for (let i = 0; i < 600; i++) {
    const [control, size] = random(2) ? ['overview', 296] : ['glyph-editor', 168];
    const [x, y] = [origins[control][0] + random(size) - 20, origins[control][1] + random(size) - 20];
    await page.mouse.move(x, y);
    if (random(10) === 0) await page.mouse.click(x, y);
    else if (random(10) === 0) await page.keyboard.press(['ArrowLeft', 'ArrowDown', 'Insert', 'Delete'][random(4)]);
  }
  await click(page, 'overview', 8, 72);
  await waitTitle(page, 'main', "tessaly v2 0.9c 64($40)'@'");
  await page.keyboard.press('Escape');
  await ended(page);
  assert.deepEqual(errors, []);
  await page.close();
});
