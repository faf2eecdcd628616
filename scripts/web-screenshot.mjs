// Takes docs/browser-1920x1080.png again: the built site in headless Chromium on a 1920 x 1080
// page, a name typed and a game under way.
//   node scripts/web-screenshot.mjs [SITE_DIR] [OUT_PNG]   (after building the web-release preset)
import { resolve } from 'node:path';
import { serveSite, launchBrowser, sleep } from '../tests/web/web_lib.mjs';

const site = resolve(process.argv[2] || 'build/web-release/site');
const out = resolve(process.argv[3] || 'docs/browser-1920x1080.png');
setTimeout(() => process.exit(1), 60000).unref();

const server = await serveSite(site);
const browser = await launchBrowser();
try {
  const context = await browser.newContext({ viewport: { width: 1920, height: 1080 }, deviceScaleFactor: 1 });
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForFunction(() => document.getElementById('screen').width === 1920, null, { timeout: 20000 });
  await sleep(1000);
  await page.keyboard.press('Backspace');
  for (const key of ['Shift+KeyP', 'KeyI', 'KeyL', 'KeyO', 'KeyT']) await page.keyboard.press(key);
  await page.keyboard.press('Space');
  // Up five cells, then along to the left: a snake that has turned, with the field around it.
  await sleep(1300);
  await page.keyboard.press('ArrowLeft');
  await sleep(900);
  await page.mouse.move(10, 10);
  await page.screenshot({ path: out });
  console.log(`wrote ${out}`);
} finally {
  await browser.close();
  await server.close();
}
