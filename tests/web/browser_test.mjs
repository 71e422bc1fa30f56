// The page in a real browser: Debian's chromium, headless, driven by puppeteer-core, against
// the built page served on 127.0.0.1 by web/serve.mjs.
//   node tests/web/browser_test.mjs build-web build/torvane-headless
// Checks: frames appear; the menu at a known moment is pixel for pixel the headless runner's
// dump of it; keys take the menu into a round and Escape, Y out of it; recordings go both ways
// between the page and the native runner, a playback's own file downloads, a cut-short file
// says where it stops, a large one plays and a too-large one is refused; settings are still
// there in a new tab after the old one died (every save goes the same way); a failing save
// says so; blocked or missing storage still plays; touch controls, a controller, the fill
// choice, gzip and the page offline; no console errors. Prints the figures.
// Every wait is on the page's own state (the screen it shows, its status line, the game's
// held keys, its frame count), never on a fixed sleep, so a busy machine only makes it slower.
import {execFileSync, spawn, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import puppeteer from 'puppeteer-core';

import {decodePng} from './png.mjs';
import {screenOf, showsText} from './screens.mjs';
import {serve} from '../../web/serve.mjs';

const site = path.resolve(process.argv[2] || 'build-web');
const runner = path.resolve(process.argv[3] || 'build/torvane-headless');
const scoresBin = path.resolve(process.argv[4] || path.join(path.dirname(runner), 'server', 'torvane-scores'));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'torvane-browser-'));
const replays = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'replays');
const kMenuMs = 4100;  // the menu's bar is mid-swing: any other frame differs
const kWait = 90000;   // only a bound for a failure: a busy machine may be slow

const server = await serve(site, 0);
const origin = `http://127.0.0.1:${server.address().port}`;

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: path.join(work, 'profile'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--force-color-profile=srgb',
         '--disable-background-timer-throttling', '--disable-renderer-backgrounding'],
});
const consoleErrors = [];
let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) ++passed, console.log(`ok   ${what}`);
  else ++failed, console.log(`FAIL ${what}${detail ? `: ${detail}` : ''}`);
}

async function open(query = '', {viewport = {width: 800, height: 700}, before = null} = {}) {
  const page = await browser.newPage();
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
  page.on('pageerror', (e) => consoleErrors.push(e.message));
  if (before) await page.evaluateOnNewDocument(before);
  await page.setViewport(viewport);
  await page.goto(`${origin}/index.html${query}`);
  return page;
}

// The canvas's own pixels (what putImageData left there), through a PNG: quick to hand over.
async function canvasPage(page) {
  const url = await page.evaluate(() => document.getElementById('screen').toDataURL('image/png'));
  return decodePng(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
}

const framesShown = (page) => page.evaluate(() => (window.torvane && torvane.framesShown) | 0);
// Until a page shown satisfies the test (looked at once per new frame); the last page.
async function waitForPage(page, test, timeoutMs = kWait) {
  const until = Date.now() + timeoutMs;
  for (;;) {
    const frames = await framesShown(page);
    const shown = await canvasPage(page);
    if (test(shown)) return shown;
    if (Date.now() > until) return null;
    await page.waitForFunction((n) => window.torvane && (torvane.framesShown | 0) !== n, {timeout: timeoutMs}, frames)
        .catch(() => {});
  }
}

// A screen is told by its texts in their exact colours: only a page fully faded in shows them,
// and such a page takes keys.
async function waitFor(page, wanted, timeoutMs = kWait) {
  let seen = '';
  if (await waitForPage(page, (shown) => wanted.includes(seen = screenOf(shown)), timeoutMs)) return seen;
  if (process.env.TORVANE_BROWSER_SHOTS) await page.screenshot({path: path.join(process.env.TORVANE_BROWSER_SHOTS, `${wanted[0]}.png`)});
  throw new Error(`waited for ${wanted.join(' or ')}, the page shows ${seen}`);
}

// One tap, then the screen it leads to: never a second tap, which could overshoot.
async function press(page, key, screen) {
  await tap(page, key);
  return waitFor(page, Array.isArray(screen) ? screen : [screen]);
}

async function tap(page, key) {
  await page.keyboard.down(key);
  await new Promise((done) => setTimeout(done, 60));
  await page.keyboard.up(key);
}

const statusLine = (page) => page.evaluate(() => document.getElementById('status').textContent);
async function waitForStatus(page, pattern) {
  await page.waitForFunction((source) => new RegExp(source).test(document.getElementById('status').textContent),
                             {timeout: kWait}, pattern.source).catch(() => {});
  return statusLine(page);
}
// A session after the given one shows frames.
async function nextSession(page, after) {
  await page.waitForFunction((n) => window.torvane && torvane.session > n && torvane.framesShown > 0,
                             {timeout: kWait}, after);
}
const session = (page) => page.evaluate(() => window.torvane ? torvane.session : 0);
// The page takes a recording only from a running session: the buttons say when.
async function upload(page, file) {
  await page.waitForFunction(() => !document.getElementById('open').disabled, {timeout: kWait});
  const before = await session(page);
  await (await page.$('#file')).uploadFile(file);
  return before;
}
const held = (page, keys) => page.waitForFunction((wanted) => {
  const now = (torvane.keysHeld || []).slice().sort((a, b) => a - b).join(',');
  return now === wanted.slice().sort((a, b) => a - b).join(',');
}, {timeout: kWait}, keys).then(() => true, () => false);

// The tab dies at once (its renderer crashes); a new one, on real time, opens on the same storage.
async function crashAndReopen(page, options) {
  const died = new Promise((done) => page.once('error', done));
  page.createCDPSession().then((tab) => tab.send('Page.crash')).catch(() => {});
  await died;
  await page.close();
  return open('', options);
}

async function downloadsTo(page, folder) {
  fs.mkdirSync(folder, {recursive: true});
  const cdp = await page.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: folder});
}
async function downloaded(file) {
  for (let i = 0; i < 600 && !fs.existsSync(file); ++i) await new Promise((done) => setTimeout(done, 100));
  return fs.existsSync(file) ? fs.readFileSync(file) : Buffer.alloc(0);
}

// A real torvane-scores on a port of its own, serving the built page under /play/; stop() and
// start() again keep its port and database.
async function startScores() {
  const port = await new Promise((done) => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
      const {port} = probe.address();
      probe.close(() => done(port));
    });
  });
  const folder = fs.mkdtempSync(path.join(work, 'scores-'));
  const scores = {origin: `http://127.0.0.1:${port}`, process: null};
  scores.start = async () => {
    const log = fs.openSync(path.join(folder, 'stderr.txt'), 'a');
    scores.process = spawn(scoresBin, ['--db', path.join(folder, 'table.db'), '--listen', `127.0.0.1:${port}`, '--web', site,
                                       '--workers', '1', '--accept-runner-recordings', '--runner-tickets-any-age'],
                           {stdio: ['ignore', 'ignore', log]});
    for (const until = Date.now() + kWait; Date.now() < until;) {
      if (scores.process.exitCode !== null) break;
      const up = await fetch(`${scores.origin}/healthz`).then((r) => r.ok, () => false);
      if (up) return;
      await new Promise((done) => setTimeout(done, 100));
    }
    throw new Error(`torvane-scores did not start: ${fs.readFileSync(path.join(folder, 'stderr.txt'), 'utf8')}`);
  };
  scores.stop = async () => {
    const running = scores.process;
    scores.process = null;
    if (!running || running.exitCode !== null) return;
    const gone = new Promise((done) => running.once('exit', done));
    running.kill('SIGTERM');
    await gone;
  };
  await scores.start();
  return scores;
}
const tableOf = (origin) => fetch(`${origin}/api/v1/table?limit=100`).then((r) => r.json()).then((j) => j.entries || [], () => []);

// From the menu: a ranked round left alone until lost, the tally, Y, the name, and on to the
// world table after the local one.
async function loseRanked(page, name) {
  if (screenOf(await canvasPage(page)) === 'menu-1') await tap(page, 'Enter');
  for (;;) {
    const screen = await waitFor(page, ['tally-done', 'record-prompt', 'name-entry', 'high-scores', 'world-table'], 120000);
    if (screen === 'tally-done') await tap(page, 'Enter');
    if (screen === 'record-prompt') await tap(page, 'y');
    if (screen === 'name-entry') {
      await page.keyboard.type(name, {delay: 30});
      await waitForPage(page, (shown) => showsText(shown, 390, 180, name, 0x9191FF));
      await tap(page, 'Enter');
      await waitFor(page, ['high-scores', 'world-table']);
    }
    if (screen === 'high-scores') await tap(page, 'Enter');
    if (screen === 'world-table') return true;
  }
}

// The recording's chunks: where each ends (after the header, a varint length, the bytes, a sum).
function chunkEnds(bytes) {
  let at = 13 + bytes[12];
  const ends = [];
  while (at < bytes.length) {
    let length = 0;
    for (let shift = 0; ; shift += 7) {
      const b = bytes[at++];
      length += (b & 0x7f) * 2 ** shift;
      if (b < 0x80) break;
    }
    at += length + 4;
    ends.push(at);
  }
  return ends;
}

let firstFrameMs = 0, times = [];
try {
  // 1. The menu at a known moment on the virtual clock, against the runner's dump.
  execFileSync(runner, ['--workdir', work, '--until-ms', String(kMenuMs + 100),
                        '--dump-frame', `${kMenuMs}:${path.join(work, 'menu.png')}`], {stdio: 'ignore'});
  const dumped = decodePng(fs.readFileSync(path.join(work, 'menu.png')));
  let page = await open(`?clock=virtual&stop-ms=${kMenuMs}`);
  await page.waitForFunction('window.torvane && torvane.stopped === true', {timeout: kWait});
  const shot = decodePng(Buffer.from(await (await page.$('#screen')).screenshot({type: 'png'})));
  let differing = shot.width === 640 && shot.height === 480 ? 0 : -1;
  for (let i = 0; differing >= 0 && i < 640 * 480; ++i)
    if ([0, 1, 2].some((k) => shot.rgba[i * 4 + k] !== dumped.rgba[i * 4 + k])) ++differing;
  check(differing === 0, `the screenshot of the menu at ${kMenuMs} ms is the runner's dump, pixel for pixel`,
        `${differing} pixels differ (${shot.width}x${shot.height})`);
  await page.close();

  // 2. Real time. The buttons wait for the game (clicked early they do nothing); frames
  // appear; keys drive the menu into a round and out again.
  page = await open();
  const early = await page.evaluate(() => {
    const ready = !!(window.torvane && torvane.frameTimes);
    for (const id of ['download', 'open']) document.getElementById(id).click();
    return {ready, disabled: document.getElementById('download').disabled && document.getElementById('open').disabled};
  });
  check(early.ready || early.disabled, 'the buttons are disabled until the game shows its first frame');
  await page.waitForFunction('window.torvane && torvane.frameTimes && torvane.frameTimes.length > 20', {timeout: kWait});
  firstFrameMs = await page.evaluate(() => torvane.firstFrameMs);
  check(true, `frames appear (first after ${firstFrameMs.toFixed(0)} ms)`);
  await waitFor(page, ['menu-1']);
  await press(page, 'Enter', 'round');
  await page.evaluate(() => { torvane.frameTimes.length = 0; });
  await page.keyboard.down('ArrowLeft');
  await page.keyboard.down('Space');
  await page.waitForFunction('torvane.frameTimes.length >= 120', {timeout: kWait});
  await page.keyboard.up('Space');
  await page.keyboard.up('ArrowLeft');
  times = (await page.evaluate(() => torvane.frameTimes.slice())).sort((a, b) => a - b);
  await press(page, 'Escape', 'abort-question');
  await press(page, 'y', ['menu-1', 'menu-2', 'menu-3', 'menu-4', 'menu-5']);
  check(true, 'Enter starts a round, Escape asks, Y leaves it for the menu');

  // The game just played, downloaded, replays natively with every checkpoint matching; a new
  // session begins in the same page.
  await downloadsTo(page, path.join(work, 'down-1'));
  let before = await session(page);
  await page.click('#download');
  const game = await downloaded(path.join(work, 'down-1', 'torvane-game.tvr'));
  fs.writeFileSync(path.join(work, 'game.tvr'), game);
  await nextSession(page, before);
  const nativeRun = spawnSync(runner, ['--play', path.join(work, 'game.tvr'), '--workdir', fs.mkdtempSync(path.join(work, 'replay-'))],
                              {encoding: 'utf8'});
  const replayed = nativeRun.status === 0 ? JSON.parse(nativeRun.stdout.trim()) : {};
  check(nativeRun.status === 0 && replayed.frames > 100 && replayed.round_results.length === 1,
        `the browser's recording replays natively (exit ${nativeRun.status}, ${replayed.frames} frames, ` +
        `rounds ${JSON.stringify(replayed.round_results)}, ${game.length} bytes)`, nativeRun.stderr);

  // A native recording plays in the page to its end; "Download this game" during the playback
  // hands back that very file and leaves the playback running.
  const keys = path.join(work, 'keys.txt'), nativeFile = path.join(work, 'native.tvr');
  fs.writeFileSync(keys, '3000 tap ENTER\n5000 tap ESC\n5800 tap Y\n');
  execFileSync(runner, ['--workdir', fs.mkdtempSync(path.join(work, 'record-')), '--script', keys,
                        '--until-ms', '8000', '--record', nativeFile], {stdio: 'ignore'});
  await downloadsTo(page, path.join(work, 'down-2'));
  before = await upload(page, nativeFile);
  await nextSession(page, before);
  await page.waitForFunction('!document.getElementById("download").disabled', {timeout: kWait});
  await page.click('#download');
  const handedBack = await downloaded(path.join(work, 'down-2', 'native.tvr'));
  check(handedBack.equals(fs.readFileSync(nativeFile)) && await session(page) === before + 1,
        'download during a playback saves the recording played, and the playback goes on', `${handedBack.length} bytes`);
  let status = await waitForStatus(page, /played to its end/);
  check(/played to its end/.test(status), 'a native recording plays in the page to its end', status);
  await page.close();

  // 3. On the virtual clock, on a phone: a recording cut short says where; one of 5 MB plays;
  // one larger than a recording can be is refused at once, and the game goes on.
  const phone = {width: 390, height: 844, isMobile: true, hasTouch: true};
  page = await open('?clock=virtual', {viewport: phone});
  await waitFor(page, ['menu-1']);
  const whole = fs.readFileSync(nativeFile), ends = chunkEnds(whole);
  const cutFile = path.join(work, 'cut.tvr');
  fs.writeFileSync(cutFile, whole.subarray(0, ends[3] + 6));  // four seconds and a few bytes
  await upload(page, cutFile);
  status = await waitForStatus(page, /cut short at/);
  check(/as far as it goes: it was cut short at 0:04\./.test(status), 'a recording cut short says where it stops', status);

  const bigDir = fs.mkdtempSync(path.join(work, 'big-')), bigFile = path.join(work, 'big.tvr');
  fs.mkdirSync(path.join(bigDir, 'data'));
  // Each visit to the table page records the table as read: 32 KB for eight long lines.
  fs.writeFileSync(path.join(bigDir, 'data', 'hs.dat'), Array.from({length: 8}, () => 'N'.repeat(4000)).join('\r\n') + '\r\n');
  const visits = ['1000 tap DOWN', '1300 tap DOWN', '1600 tap DOWN'];
  for (let k = 0, t = 2500; k < 165; ++k, t += 1800) visits.push(`${t} tap ENTER`, `${t + 900} tap ENTER`);
  fs.writeFileSync(path.join(bigDir, 'keys.txt'), visits.join('\n') + '\n');
  execFileSync(runner, ['--workdir', bigDir, '--script', path.join(bigDir, 'keys.txt'), '--until-ms', String(2500 + 165 * 1800),
                        '--record', bigFile], {stdio: 'ignore'});
  const bigSize = fs.statSync(bigFile).size;
  const bigStarted = Date.now();
  await upload(page, bigFile);
  status = await waitForStatus(page, /played to its end|not a recording|went its own way/);
  check(bigSize >= 5 << 20 && /played to its end/.test(status),
        `a recording of ${(bigSize / 1048576).toFixed(1)} MB plays to its end (${((Date.now() - bigStarted) / 1000).toFixed(1)} s flat out)`, status);

  const hugeFile = path.join(work, 'huge.tvr');
  fs.closeSync(fs.openSync(hugeFile, 'w'));
  fs.truncateSync(hugeFile, 300 << 20);  // sparse: nothing is written
  before = await upload(page, hugeFile);
  status = await waitForStatus(page, /too large/);
  const framesThen = await framesShown(page);
  const goesOn = await page.waitForFunction((n) => torvane.framesShown > n + 20, {timeout: kWait}, framesThen)
      .then(() => true, () => false);
  check(/huge\.tvr is 300 MB: too large for a recording \(at most 64 MB\)/.test(status) && goesOn && await session(page) === before,
        'a 300 MB file is refused at once with a line saying why, and the game goes on', status);

  // A lost round on the virtual clock and a name for the table.
  await waitFor(page, ['menu-1']);
  await tap(page, 'Enter');
  for (let named = false; !named;) {
    const screen = await waitFor(page, ['tally-done', 'record-prompt', 'name-entry'], 120000);
    if (screen === 'tally-done') await tap(page, 'Enter');
    if (screen === 'record-prompt') await tap(page, 'y');
    if (screen === 'name-entry') {
      // Half from the keyboard; then a tap on the picture gives the hidden field the focus (a
      // phone's keyboard comes up only so), and what that keyboard types is the rest of the
      // name, a slip taken back with its Backspace. The field goes once the entry is over.
      const prompt = 0x9191FF, kept = (text) => (shown) => showsText(shown, 390, 180, text, prompt) &&
                                                         !showsText(shown, 390 + 8 * text.length, 180, 'X', prompt);
      const offered = await page.evaluate(() => [torvane.typing, document.getElementById('typename').getClientRects().length > 0]);
      await page.keyboard.type('LO', {delay: 30});
      const picture = await (await page.$('#screen')).boundingBox();
      await page.touchscreen.tap(picture.x + picture.width / 2, picture.y + picture.height / 2);
      const focused = await page.waitForFunction(() => document.activeElement === document.getElementById('typed'), {timeout: kWait})
          .then(() => true, () => false);
      await page.keyboard.type('STX', {delay: 30});
      const slip = await waitForPage(page, kept('LOSTX'));
      await page.keyboard.press('Backspace');
      const mended = await waitForPage(page, kept('LOST'));
      const stillThere = await page.evaluate(() => document.activeElement === document.getElementById('typed'));
      await page.keyboard.press('Enter');
      const gone = await page.waitForFunction(() => torvane.typing === false && document.activeElement !== document.getElementById('typed') &&
                                              document.getElementById('typename').getClientRects().length === 0, {timeout: kWait})
          .then(() => true, () => false);
      check(offered[0] === true && offered[1] && focused && !!slip && !!mended && stillThere && gone,
            'on a phone at the name entry a tap on the picture brings up the keyboard, and what it types is the name',
            JSON.stringify({offered, focused, slip: !!slip, mended: !!mended, stillThere, gone}));
      named = true;
    }
  }
  await page.close();

  // 3b. Watching a recording with the viewer's keys, at its own pace: paused, taken to its
  // last checkpoint, stepped, sped up and back to its start, the canvas shows each time what the
  // runner dumps for the same keys.
  const watchedFile = path.join(replays, 'autoplay_round.tvr');  // 8 minutes at its own pace
  const viewer = [['Space', 'SPACE'], ['End', 'END'], ['Period', 'PERIOD'], ['Equal', 'PLUS'], ['Home', 'HOME']];
  // The game comes from the page's own server, as a world-table link hands it over.
  const served = path.join(site, 'api', 'v1', 'games', 'watch-test');
  fs.mkdirSync(served, {recursive: true});
  fs.copyFileSync(watchedFile, path.join(served, 'recording'));
  const errorsBefore = consoleErrors.length;
  page = await open('?clock=virtual&watch=nosuch');
  status = await waitForStatus(page, /could not be fetched/);
  check(/Game nosuch could not be fetched: the server has no such game\./.test(status), 'a game the server has not is said so', status);
  await page.close();
  // The browser logs the 404 it was answered; that one is expected.
  if (consoleErrors.slice(errorsBefore).every((e) => /404/.test(e))) consoleErrors.length = errorsBefore;
  page = await open('?watch=watch-test');
  await page.waitForFunction('window.torvane && torvane.framesShown > 0', {timeout: kWait});
  fs.rmSync(path.join(site, 'api'), {recursive: true, force: true});
  // The pause lands on whatever frame is up when the key comes: only what follows is compared.
  await tap(page, viewer[0][0]);
  for (let k = 1; k < viewer.length; ++k) {
    const script = path.join(work, `viewer-${k}.txt`), shot = path.join(work, `viewer-${k}.png`);
    fs.writeFileSync(script, viewer.slice(0, k + 1).map(([, name], i) => `${200 + 200 * i} tap ${name}`).join('\n') + '\n');
    const endMs = 400 + 200 * k + 1500;
    execFileSync(runner, ['--play', watchedFile, '--controls', '--script', script, '--until-ms', String(endMs),
                          '--dump-frame', `${endMs - 200}:${shot}`, '--workdir', fs.mkdtempSync(path.join(work, 'viewer-'))],
                 {stdio: 'ignore'});
    const want = decodePng(fs.readFileSync(shot));
    const pressed = Date.now();
    await tap(page, viewer[k][0]);
    const same = (got) => got.width === want.width && got.rgba.every((v, i) => (i & 3) === 3 || v === want.rgba[i]);
    const seen = await waitForPage(page, same);
    check(seen !== null, `after ${viewer.slice(0, k + 1).map(([key]) => key).join(', ')} the page shows the runner's frame` +
          (viewer[k][0] === 'End' ? ` (the jump to the end shown ${Date.now() - pressed} ms after the key)` : ''));
  }
  await page.close();

  // 4. Each save must be in the browser's storage before the game goes on: the tab dies right
  // after it, with no chance to write anything on its way out, and a new tab must find it. The
  // page says while both volumes are at 0 %, and a new effects volume is heard at once.
  page = await open();
  await waitFor(page, ['menu-1']);
  const soundOff = await page.evaluate(() => document.getElementById('notice').textContent);
  for (const [key, screen] of [['ArrowDown', 'menu-2'], ['Enter', 'options-1'], ['ArrowDown', 'options-2'], ['Enter', 'sfx-25']])
    await press(page, key, screen);
  const heard = await page.evaluate(() => [torvane.volumeSamples | 0, document.getElementById('notice').textContent]);
  check(soundOff === 'Sound is off: Options' && heard[0] === 1 && heard[1] === '',
        'with both volumes at 0 % the page says so; turning the effects up plays a sample and the line goes',
        JSON.stringify([soundOff, ...heard]));
  for (const [key, screen] of [['ArrowDown', 'options-3'], ['ArrowDown', 'options-4'], ['ArrowDown', 'options-5'],
                               ['ArrowDown', 'options-6'], ['Enter', 'menu-2']])
    await press(page, key, screen);  // the Enter on the options' Exit saves the settings
  page = await crashAndReopen(page);
  await waitFor(page, ['menu-1']);
  await press(page, 'ArrowDown', 'menu-2');
  await press(page, 'Enter', 'options-1');
  check(await press(page, 'ArrowDown', ['sfx-25', 'options-2']) === 'sfx-25', 'a setting changed is kept after the tab died');
  // The browser refuses writes, each way it can: the transaction aborts once the write was
  // queued (a quota found full at commit), a write fails in its own event, or opening the
  // transaction throws. Each time the options say so, as on a full disk; a save that does go
  // through takes the line away again. Full screen switches on Enter and saves at once.
  await page.evaluate(() => {
    const left = new WeakMap();  // a transaction's writes still to finish
    for (const name of ['put', 'delete']) {
      const real = IDBObjectStore.prototype[name];
      IDBObjectStore.prototype[name] = function () {
        const request = real.apply(this, arguments), transaction = this.transaction, how = window.failWrite;
        if (!how) return request;
        left.set(transaction, (left.get(transaction) || 0) + 1);
        request.addEventListener('success', () => {
          left.set(transaction, left.get(transaction) - 1);
          if (how === 'error') {
            request.dispatchEvent(new Event('error', {bubbles: true, cancelable: true}));
          } else if (!left.get(transaction)) {
            // Every write went through and none is pending: the abort is the only event.
            Object.defineProperty(transaction, 'error', {value: new DOMException('The quota is full', 'QuotaExceededError')});
            transaction.abort();
          }
        });
        return request;
      };
    }
  });
  await press(page, 'ArrowDown', 'options-3');
  const saved = '"The settings could not be saved"', notice = (shown) => showsText(shown, 200, 230, 'The settings could not be saved', 0x9191FF);
  const refusals = [];
  for (const how of ['abort', '', 'error', '', 'throw']) {
    await page.evaluate((how) => {
      window.failWrite = how === 'throw' ? '' : how;
      if (how === 'throw') IDBDatabase.prototype.transaction = () => { throw new DOMException('The write was refused', 'SecurityError'); };
    }, how);
    await tap(page, 'Enter');
    const shown = await waitForPage(page, (got) => screenOf(got) === 'options-3' && notice(got) === !!how);
    const error = await page.evaluate(() => torvane.storageError);
    refusals.push(`${how || 'kept'}: ${shown ? (how ? 'says so' : 'no line') : 'not shown'} (${error})`);
    check(!!shown && !!error === !!how, how ? `a write the browser refuses (${how}) shows ${saved}` : `the next save that goes through takes ${saved} away`,
          refusals.join('; '));
    if (!shown) break;  // a game stuck in its save shows nothing more
  }
  await page.close();

  // 5. No storage at all: blocked site data (the properties throw, IndexedDB refuses to open)
  // or no IndexedDB. The game plays, the page says once that nothing is kept, and the settings
  // last from one session of the page to the next.
  page = await open('', {before: () => {
    const refuse = () => { throw new DOMException('Access is denied for this document.', 'SecurityError'); };
    for (const name of ['sessionStorage', 'localStorage']) Object.defineProperty(window, name, {get: refuse});
    IDBFactory.prototype.open = refuse;
  }});
  await waitFor(page, ['menu-1']);
  const blocked = await page.evaluate(() => [torvane.storageKept, document.getElementById('notice').textContent]);
  for (const [key, screen] of [['ArrowDown', 'menu-2'], ['Enter', 'options-1'], ['ArrowDown', 'options-2'], ['Enter', 'sfx-25'],
                               ['ArrowDown', 'options-3'], ['ArrowDown', 'options-4'], ['ArrowDown', 'options-5'],
                               ['ArrowDown', 'options-6'], ['Enter', 'menu-2']])
    await press(page, key, screen);
  await downloadsTo(page, path.join(work, 'down-3'));
  before = await session(page);
  await page.click('#download');
  await nextSession(page, before);
  await waitFor(page, ['menu-1']);
  await press(page, 'ArrowDown', 'menu-2');
  await press(page, 'Enter', 'options-1');
  const carried = await press(page, 'ArrowDown', ['sfx-25', 'options-2']);
  check(blocked[0] === false && /will not be kept/.test(blocked[1]) && carried === 'sfx-25',
        'with site storage blocked the game plays, says nothing is kept, and keeps the settings while the page is open',
        JSON.stringify([...blocked, carried]));
  await page.close();
  page = await open('', {before: () => { Object.defineProperty(window, 'indexedDB', {value: undefined}); }});
  await waitFor(page, ['menu-1']);
  check(/will not be kept/.test(await page.evaluate(() => document.getElementById('notice').textContent)),
        'without IndexedDB the game plays and says nothing is kept');
  await page.close();
  // Reading what the browser keeps fails in its own event: the same, and nothing thrown.
  page = await open('', {before: () => {
    const list = IDBIndex.prototype.openKeyCursor;
    IDBIndex.prototype.openKeyCursor = function () {
      const request = list.apply(this, arguments);
      request.addEventListener('success', () => request.dispatchEvent(new Event('error', {bubbles: true, cancelable: true})), {once: true});
      return request;
    };
  }});
  await waitFor(page, ['menu-1']);
  check(/will not be kept/.test(await page.evaluate(() => document.getElementById('notice').textContent)),
        'when reading the browser\'s storage fails in its own event the game plays and says nothing is kept');
  await page.close();

  // 6. A phone: the on-screen controls appear, taps drive the menu and the round, two fingers
  // turn and fire at once, and "fill" is offered and kept.
  page = await open('', {viewport: {width: 390, height: 844, isMobile: true, hasTouch: true}});
  await waitFor(page, ['menu-1']);
  const centre = async (selector) => {
    const box = await (await page.$(selector)).boundingBox();
    return {x: box.x + box.width / 2, y: box.y + box.height / 2};
  };
  const touchTap = async (selector, screen) => {
    const at = await centre(selector);
    await page.touchscreen.touchStart(at.x, at.y);
    await page.touchscreen.touchEnd();
    return waitFor(page, [screen]);
  };
  const shown = await page.evaluate(() => getComputedStyle(document.getElementById('touch')).display);
  await touchTap('#touch [data-scancode="28"]', 'round');
  const left = await centre('#touch [data-scancode="75"]'), fire = await centre('#touch [data-scancode="57"]');
  const cdp = await page.target().createCDPSession();
  await cdp.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: [{...left, id: 101}, {...fire, id: 102}]});
  const both = await held(page, [75, 57]);
  await cdp.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: []});
  const none = await held(page, []);
  await touchTap('#touch [data-scancode="1"]', 'abort-question');
  await touchTap('#touch [data-scancode="21"]', 'menu-1');
  if (process.env.TORVANE_BROWSER_SHOTS) await page.screenshot({path: path.join(process.env.TORVANE_BROWSER_SHOTS, 'phone.png')});
  await page.select('#scale', '1');
  const filled = await page.waitForFunction(() => document.getElementById('screen').style.width === '390px', {timeout: kWait})
      .then(() => true, () => false);
  const kept = await page.evaluate(() => localStorage.getItem('torvane-scale'));
  check(shown === 'flex' && both && none && filled && kept === '1',
        'on a phone the on-screen controls drive menu and round, turn and fire at once; fill is offered and kept',
        JSON.stringify({shown, both, none, filled, kept}));
  await page.close();

  // 7. A controller, through the browser's Gamepad API: Start opens a round, A fires (and holds
  // Y), the stick turns past the desktop's threshold and lets go only below its release point,
  // and a controller pulled out opens the abort question.
  page = await open('', {before: () => {
    const button = () => ({pressed: false, touched: false, value: 0});
    window.pad = {id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 1,
                  axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, button)};
    window.pads = [window.pad];
    navigator.getGamepads = () => window.pads;
    window.setPad = (index, down) => { pad.buttons[index] = {pressed: down, touched: down, value: down ? 1 : 0}; };
  }});
  await waitFor(page, ['menu-1']);
  await page.evaluate(() => setPad(9, true));
  await waitFor(page, ['round']);
  await page.evaluate(() => setPad(9, false));
  await page.evaluate(() => { setPad(0, true); pad.axes[0] = -1; });
  const pressed = await held(page, [57, 21, 75]);
  await page.evaluate(() => { pad.axes[0] = -0.4; });  // between release and press: still held
  const then = await framesShown(page);
  await page.waitForFunction((n) => torvane.framesShown > n + 2, {timeout: kWait}, then);
  const between = await held(page, [57, 21, 75]);
  await page.evaluate(() => { pad.axes[0] = -0.3; setPad(0, false); });
  const letGo = await held(page, []);
  await page.evaluate(() => { setPad(0, true); window.pads = [null]; });
  const pulled = await waitFor(page, ['abort-question']).then(() => held(page, []));
  await press(page, 'n', 'round');
  check(pressed && between && letGo && pulled, 'a controller plays through the Gamepad API with the desktop\'s map',
        JSON.stringify({pressed, between, letGo, pulled}));
  await page.close();

  // 9. The world table, the page as a real torvane-scores serves it (in its test mode, which
  // takes games made on a virtual clock): "Start New Game" fetches a ticket, and a round lost
  // with a name typed reaches the server's table, verified, with the score the page's own table
  // kept, and the page shows its world rank. A second round, the server gone before it ends,
  // stays in the outbox in the browser's storage and goes at the next start, server back.
  const scores = await startScores();
  try {
    page = await browser.newPage();
    page.on('console', (m) => { if (m.type() === 'error' && !/ERR_CONNECTION_REFUSED|Failed to fetch/.test(m.text())) consoleErrors.push(m.text()); });
    page.on('pageerror', (e) => consoleErrors.push(e.message));
    await page.goto(`${scores.origin}/play/index.html?clock=virtual`);
    await waitFor(page, ['menu-1']);
    const server = await page.evaluate(() => torvane.torvaneServer);
    const first = await loseRanked(page, 'WEB');
    const verified = await waitForPage(page, (shown) => showsText(shown, 120, 260, 'verified: world rank 1', 0x0275BE));
    const entries = await tableOf(scores.origin);
    const kept = await page.evaluate(() => {
      try { return Array.from(torvane.FS.readFile('/home/web_user/.local/share/torvane/hs.dat')); } catch (e) { return []; }
    });
    const lines = Buffer.from(kept).toString('latin1').split('\r\n')
        .map((line) => String.fromCharCode(...[...line].map((c, i) => (c.charCodeAt(0) - 'vantry'.charCodeAt(i % 6)) & 255)));
    const onServer = entries.find((e) => e.name === 'WEB');
    check(server === scores.origin && first && !!verified && !!onServer && onServer.ranked === true && lines[0] === 'WEB' &&
          String(onServer.score) === lines[4],
          'a ranked round played in the page served by the score server reaches its table, verified, with the score kept at home',
          JSON.stringify({server, first, verified: !!verified, onServer, home: [lines[0], lines[4]]}));
    // The page's worker keeps none of the score server's answers for offline use: a table read
    // now, then a file of the page's, which it does keep, so its turn has come and gone.
    const apiKept = await page.evaluate(async () => {
      if (!navigator.serviceWorker.controller) {
        await Promise.race([new Promise((done) => navigator.serviceWorker.oncontrollerchange = done),
                            new Promise((done) => setTimeout(done, 60000))]);
      }
      await fetch('/api/v1/table?limit=1');
      await fetch('manifest.webmanifest?after-the-table');
      for (const until = Date.now() + 60000; Date.now() < until;) {
        const keys = (await (await caches.open('torvane')).keys()).map((request) => request.url);
        if (keys.some((url) => url.includes('after-the-table'))) return keys.filter((url) => url.includes('/api/'));
        await new Promise((done) => setTimeout(done, 25));
      }
      return null;
    });
    check(apiKept && apiKept.length === 0, "the page's worker keeps none of the score server's answers", JSON.stringify(apiKept));

    // The server goes away once the next round has its ticket: kept, said so, and sent at the
    // next start. On the virtual clock the Enter that leaves the table may start it too.
    await tap(page, 'Enter');
    if (await waitFor(page, ['menu-1', 'round', 'tally', 'tally-done']) === 'menu-1') await tap(page, 'Enter');
    await waitFor(page, ['round', 'tally', 'tally-done']);
    await scores.stop();
    await loseRanked(page, 'DOWN');
    const outboxShown = await waitForPage(page, (shown) => showsText(shown, 120, 260, 'cannot reach the server: kept to send later', 0x0275BE));
    const outbox = await page.evaluate(() => {
      try { return torvane.FS.readdir('/home/web_user/.local/share/torvane/outbox').filter((n) => n.endsWith('.tvo')); } catch (e) { return []; }
    });
    await page.close();
    await scores.start();
    page = await browser.newPage();
    await page.goto(`${scores.origin}/play/index.html?clock=virtual`);
    await waitFor(page, ['menu-1']);
    let down = null;
    for (const until = Date.now() + kWait; !down && Date.now() < until;) {
      down = (await tableOf(scores.origin)).find((e) => e.name === 'DOWN');
      if (!down) await new Promise((done) => setTimeout(done, 200));
    }
    const left = await page.waitForFunction(() => {
      try { return torvane.FS.readdir('/home/web_user/.local/share/torvane/outbox').every((n) => !n.endsWith('.tvo')); } catch (e) { return false; }
    }, {timeout: kWait}).then(() => true, () => false);
    // A sent game whose verification is slow to come holds no later request up: with the
    // server's answers about games kept back, the next round still gets its ticket.
    await page.setRequestInterception(true);
    page.on('request', (request) => /\/api\/v1\/games\/\d+$/.test(request.url())
        ? request.respond({status: 200, contentType: 'application/json', body: '{"status": "queued"}'})
        : request.continue());
    await loseRanked(page, 'SLOWA');
    const pending = await waitForPage(page, (shown) => showsText(shown, 120, 260, 'sent', 0x0275BE));
    await tap(page, 'Enter');
    if (await waitFor(page, ['menu-1', 'round', 'tally', 'tally-done']) === 'menu-1') await tap(page, 'Enter');
    await loseRanked(page, 'SLOWB');
    let slow = [];
    for (const until = Date.now() + kWait; slow.length < 2 && Date.now() < until;) {
      slow = (await tableOf(scores.origin)).filter((e) => /^SLOW/.test(e.name));
      if (slow.length < 2) await new Promise((done) => setTimeout(done, 200));
    }
    check(!!pending && slow.length === 2 && slow.every((e) => e.ranked === true),
          'a round begun while the last one\'s verification is still awaited is ranked too', JSON.stringify({pending: !!pending, slow}));
    await page.close();
    // What the browser kept: a page that reaches no server sends nothing and shows the stored outbox.
    page = await browser.newPage();
    await page.evaluateOnNewDocument(() => {
      const fetched = window.fetch;
      window.fetch = (url, how) => /api|manifest/.test(String(url)) ? Promise.reject(new TypeError('offline')) : fetched(url, how);
    });
    await page.goto(`${scores.origin}/play/index.html`);
    await waitFor(page, ['menu-1']);
    const stored = await page.evaluate(() => {
      try { return torvane.FS.readdir('/home/web_user/.local/share/torvane/outbox').filter((n) => n.endsWith('.tvo')); } catch (e) { return ['?']; }
    });
    check(!!outboxShown && outbox.length === 1 && !!down && down.ranked === true && left && stored.length === 0,
          'a round whose end finds the server gone waits in the browser\'s storage and is sent, ranked, at the next start',
          JSON.stringify({shown: !!outboxShown, outbox, down, left, stored}));
    await page.close();
  } finally {
    await scores.stop();
  }

  // 8. Served gzipped, and offline after the first visit.
  const wire = await new Promise((done) => http.get(`${origin}/torvane.wasm`, {headers: {'accept-encoding': 'gzip'}}, (response) => {
    let bytes = 0;
    response.on('data', (b) => { bytes += b.length; }).on('end', () => done({encoding: response.headers['content-encoding'], bytes}));
  }));
  check(wire.encoding === 'gzip' && wire.bytes === fs.statSync(path.join(site, 'torvane.wasm.gz')).size,
        `the WebAssembly goes over the wire gzipped (${wire.bytes} bytes)`);
  // A server of its own, shut down once the page's worker has it all: nothing can come from it.
  const once = await serve(site, 0);
  page = await browser.newPage();
  page.on('pageerror', (e) => consoleErrors.push(e.message));
  await page.goto(`http://127.0.0.1:${once.address().port}/index.html`);
  await page.waitForFunction(() => navigator.serviceWorker.controller && window.torvane && torvane.framesShown > 0, {timeout: kWait});
  once.close();
  once.closeAllConnections();
  await page.reload();
  await waitFor(page, ['menu-1']);
  check(true, 'the page plays with its server gone, after its first visit');
  await page.close();

  check(consoleErrors.length === 0, 'no console errors', consoleErrors.join(' | '));
} catch (error) {
  check(false, 'the browser session', error.stack || error.message);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(work, {recursive: true, force: true});
}
const served = ['index.html', 'torvane.js', 'torvane.wasm'].map((f) => fs.statSync(path.join(site, `${f}.gz`)).size);
const total = served.reduce((a, b) => a + b, 0);
check(total <= 1 << 20, `the page served gzipped: ${served.join(' + ')} = ${total} bytes, at most 1 MB`);
const pick = (f) => times.length ? times[Math.min(times.length - 1, Math.floor(f * (times.length - 1)))] : NaN;
console.log(`figures: served gzipped ${(total / 1024).toFixed(0)} KB; first frame ${firstFrameMs.toFixed(0)} ms after opening; ` +
            `frame CPU p50 ${pick(0.5).toFixed(2)} ms, p99 ${pick(0.99).toFixed(2)} ms over ${times.length} frames of a round`);
console.log(`browser: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
