// The site as an installed app meets a phone's life, in Debian's headless Chromium:
//   - the first visit keeps the whole site: with the network gone, a reload starts the game and
//     the computer answers a move (its search worker came from the cache too);
//   - a game in play outlives its page: closed without a word, the next page goes straight back
//     to the same position, and Backspace takes the move back; Escape leaves it for good;
//   - a rebuilt site (one file changed, hashed again by the build's script) is taken after one
//     reload with the network on, and the old cache is gone;
//   - the manifest names the icons, which are there at their sizes.
//
//   node offline_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS CMAKE WEB_SOURCE_DIR VERSION
//
// Screenshots go to OUT_DIR for people to look at.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { brightness, colourAt } from './png.mjs';
import { runInChromium, screenPoint, screenshot } from './harness.mjs';

const [siteDir, outDir, screenPointJs, cmake, webDir, version] = process.argv.slice(2);
if (!version) {
  console.error('usage: node offline_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS CMAKE WEB_DIR VERSION');
  process.exit(2);
}
fs.mkdirSync(outDir, { recursive: true });

const width = 640;
const height = 480;
const pageErrors = [];
const keptGameFile = '/home/web_user/.config/Bellwick/Octavane/game.txt';
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function fail(message) {
  throw new Error(message);
}

const point = (kind, ...values) => screenPoint(screenPointJs, width, height, kind, ...values);

const shot = (page, name) => screenshot(page, path.join(outDir, `offline-${name}.png`));

async function waitForShot(page, name, ready, seconds = 60) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    const image = await shot(page, name);
    if (ready(image)) return image;
    if (Date.now() > until) fail(`${name}: the screen never became what was expected`);
    await pause(250);
  }
}

const lit = (image) => brightness(image) > 0.02;

async function press(page, ...keys) {
  for (const key of keys) {
    await page.keyboard.down(key);
    await pause(150);
    await page.keyboard.up(key);
    await pause(200);
  }
}

async function openPage(browser, origin, label) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  page.on('pageerror', (error) => pageErrors.push(`${label}: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') pageErrors.push(`${label}: console: ${message.text()}`);
  });
  await page.goto(`${origin}/`);
  return page;
}

// The kept game's text as the page's file system has it ('' when none is kept).
async function keptGame(page) {
  return page.evaluate((file) => {
    try {
      return Module.FS.readFile(file, { encoding: 'utf8' });
    } catch (error) {
      return '';
    }
  }, keptGameFile);
}

async function waitForKeptGame(page, test, what, seconds = 60) {
  const until = Date.now() + seconds * 1000;
  for (;;) {
    const text = await keptGame(page);
    if (test(text)) return text;
    if (Date.now() > until) fail(`${what}: the kept game reads ${JSON.stringify(text)}`);
    await pause(250);
  }
}

const pliesOf = (text) => ((text.match(/^plies(.*)$/m) || [])[1] || '').trim();

// Square (2, 3), "c4", in the play view: probes round the top of a disc there, as the browser
// test's. A move's animation takes the camera elsewhere; the play view shows the whole board lit.
const squareProbes = [
  point('world', -240, -70, 20), point('world', -180, -70, 20),
  point('world', -210, -100, 20), point('world', -210, -40, 20),
];
const luminance = (c) => (c[0] + c[1] + c[2]) / 3;
const probe = (image) => squareProbes.map((p) => luminance(colourAt(image, p.x, p.y)));
const playView = (image) => brightness(image) > 0.1;
const discOnSquare = (empty) => (image) =>
  playView(image) && probe(image).every((v, i) => v < empty[i] - 20);

async function siteCaches(page) {
  return page.evaluate(async () => {
    const names = await caches.keys();
    const counts = await Promise.all(names.map(async (name) =>
      (await (await caches.open(name)).keys()).length));
    return names.map((name, i) => ({ name, files: counts[i] }));
  });
}

function siteFiles(dir) {
  return fs.readdirSync(dir, { recursive: true })
    .filter((name) => fs.statSync(path.join(dir, name)).isFile() && name !== 'sw.js');
}

const cacheNameOf = (dir) =>
  (fs.readFileSync(path.join(dir, 'sw.js'), 'utf8').match(/CACHE_NAME = '([^']+)'/) || [])[1];

// The first visit keeps the site; then, with no network, a reload plays a game against the
// computer. Leaves that game in play, its first move "c4" answered.
async function offlineStart(browser, server) {
  const page = await openPage(browser, server.origin, 'first visit');
  await waitForShot(page, 'first-title', lit);
  await page.waitForFunction(() => navigator.serviceWorker && navigator.serviceWorker.controller,
    { timeout: 60000 });
  const expected = siteFiles(siteDir).length;
  const cacheName = cacheNameOf(siteDir);
  if (!new RegExp(`^octavane-${version.replace(/\./g, '\\.')}-[0-9a-f]{16}$`).test(cacheName)) {
    fail(`the cache is named ${cacheName}`);
  }
  let kept = [];
  const until = Date.now() + 30000;
  while (!(kept.length === 1 && kept[0].name === cacheName && kept[0].files === expected)) {
    if (Date.now() > until) fail(`the cache holds ${JSON.stringify(kept)}, not ${expected} files`);
    await pause(250);
    kept = await siteCaches(page);
  }
  console.log(`first visit: ${kept[0].files} files kept in ${cacheName}`);

  server.setDown(true);
  await page.setOfflineMode(true);
  await page.reload();
  await waitForShot(page, 'offline-title', lit);
  await press(page, 'Space', 'Space', 'Space'); // menu, "1 Player Game (Black)", "Normal"
  await pause(2500);
  const before = probe(await waitForShot(page, 'offline-game', lit));
  await press(page, 'ArrowLeft', 'Space'); // c4
  const text = await waitForKeptGame(page, (t) => /^plies c4 \S\S$/m.test(t),
    'the computer\'s answer offline');
  const placed = probe(await waitForShot(page, 'offline-answered', discOnSquare(before), 20));
  console.log(`offline: the game went ${pliesOf(text)}; c4 ${before.map(Math.round)} -> ` +
    `${placed.map(Math.round)}`);
  await page.setOfflineMode(false);
  server.setDown(false);
  return { page, before, plies: pliesOf(text) };
}

// The page is closed with no warning (a dropped tab runs none of its last events); the next one
// goes straight back into the game.
async function gameOutlivesPage(browser, server, { page, before, plies }) {
  await page.evaluate(() => new Promise((resolve) => Module.octavaneWhenStored(resolve)));
  await page.close({ runBeforeUnload: false });
  const next = await openPage(browser, server.origin, 'after the close');
  const text = await waitForKeptGame(next, (t) => t !== '', 'the next page');
  if (pliesOf(text) !== plies) fail(`the next page has the game ${pliesOf(text)}, not ${plies}`);
  await pause(3000); // the opening glide to the play view
  const resumed = probe(await waitForShot(next, 'resumed', discOnSquare(before), 20));
  await press(next, 'Backspace');
  const undone = await waitForKeptGame(next, (t) => pliesOf(t) === '', 'undo after resuming');
  await pause(2000);
  const after = probe(await waitForShot(next, 'resumed-undone', playView, 20));
  console.log(`resumed at ${plies}; Backspace: plies "${pliesOf(undone)}", ` +
    `${undone.match(/^redo.*$/m)[0]}; c4 ${resumed.map(Math.round)} -> ${after.map(Math.round)}`);
  if (!after.every((v, i) => v > resumed[i] + 20)) fail('undo left the disc on c4');
  // Escape leaves the game: it is gone from the storage, and the next page is the title.
  await press(next, 'Escape');
  await waitForKeptGame(next, (t) => t === '', 'Escape');
  await next.evaluate(() => new Promise((resolve) => Module.octavaneWhenStored(resolve)));
  await next.reload();
  await waitForShot(next, 'after-escape', lit);
  await pause(1500);
  if (await keptGame(next) !== '') fail('a game left with Escape came back');
  return next;
}

// One file of the site changed and the site hashed again, as a rebuild does: one reload takes it.
async function rebuiltSite(server, page) {
  const rebuilt = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-rebuilt-'));
  fs.cpSync(siteDir, rebuilt, { recursive: true });
  const index = path.join(rebuilt, 'index.html');
  fs.writeFileSync(index, fs.readFileSync(index, 'utf8')
    .replace('<head>', '<head>\n<meta name="octavane-build" content="rebuilt">'));
  execFileSync(cmake, [`-DSITE_DIR=${rebuilt}`, `-DTEMPLATE=${path.join(webDir, 'sw.js.in')}`,
    `-DVERSION=${version}`, '-P', path.join(webDir, 'SiteCache.cmake')]);
  const oldName = cacheNameOf(siteDir);
  const newName = cacheNameOf(rebuilt);
  if (!newName || newName === oldName) fail(`the rebuilt site's cache is named ${newName} again`);
  server.setFolder(rebuilt);
  try {
    await page.reload();
    // The page loads itself once more when the new site takes over: asked across that load.
    const taken = Date.now() + 60000;
    while (!(await page.evaluate(() => !!document.querySelector('meta[name="octavane-build"]'))
      .catch(() => false))) {
      if (Date.now() > taken) fail('the rebuilt site was not taken after a reload');
      await pause(250);
    }
    await waitForShot(page, 'rebuilt-title', lit);
    const until = Date.now() + 30000;
    let kept = await siteCaches(page);
    while (!(kept.length === 1 && kept[0].name === newName)) {
      if (Date.now() > until) fail(`after the rebuild the caches are ${JSON.stringify(kept)}`);
      await pause(250);
      kept = await siteCaches(page);
    }
    console.log(`rebuilt site taken after one reload: ${oldName} -> ${newName}`);
  } finally {
    server.setFolder(siteDir);
    fs.rmSync(rebuilt, { recursive: true, force: true });
  }
}

// The manifest as Chromium reads it for installing: its icons there at the sizes it names.
async function manifest(page, origin) {
  const text = fs.readFileSync(path.join(siteDir, 'manifest.webmanifest'), 'utf8');
  const data = JSON.parse(text);
  if (data.name !== 'Octavane' || !data.short_name || !data.start_url ||
      !['standalone', 'fullscreen'].includes(data.display) || data.background_color !== '#000000') {
    fail(`the manifest is incomplete: ${text}`);
  }
  const found = await page.evaluate(async (icons) => Promise.all(icons.map(async (icon) => {
    const image = new Image();
    image.src = icon.src;
    await image.decode();
    return `${image.naturalWidth}x${image.naturalHeight} ${icon.purpose}`;
  })), data.icons);
  console.log(`manifest icons: ${found.join(', ')}`);
  for (const size of ['192x192 any', '512x512 any', '512x512 maskable']) {
    if (!found.includes(size)) fail(`no ${size} icon: ${found}`);
  }
  const link = await page.evaluate(() => document.querySelector('link[rel="manifest"]').href);
  if (link !== `${origin}/manifest.webmanifest`) fail(`the page links ${link}`);
}

const problems = [];
await runInChromium('offline test', siteDir, outDir, problems, pageErrors, async (browser, server) => {
  const game = await offlineStart(browser, server);
  const page = await gameOutlivesPage(browser, server, game);
  await manifest(page, server.origin);
  await rebuiltSite(server, page);
});
