'use strict';
// The web tier: the page of the browser build in Chromium, Firefox and WebKit, through the browser
// driver (tools/browsers). node web_test.js PAGE_DIR SOURCE_DIR CASE [ENGINE] runs one case of the
// table at the end in one engine (chromium when not named), in one browser with a new page for
// each run; the page's server can also withhold or damage its pictures and run scripts before the
// page's own. Chromium runs every case; Firefox and WebKit the golden runs and the smoke case.
const fs = require('fs');
const path = require('path');
const browsers = require('../../tools/browsers/browsers.js');
const { serve } = require('../../tools/browsers/page_server.js');
const { deadline } = require('../../tools/browsers/processes.js');

const [pageDir = process.env.QUORVANE_WEB_PAGE, sourceDir, caseName, engine = 'chromium'] = process.argv.slice(2);
const goldenDir = path.join(sourceDir || '.', 'tests/golden');
const { PNG } = browsers.requirePackage('pngjs');

// Golden frames against the references drawn by Mesa's llvmpipe: every shot needs `share` of its
// pixels with a largest channel difference of at most `levels`.
// - Chromium draws on SwiftShader: each shot has at least 99.7 % within 6 levels (README, Web).
//   What is left: edges that it places with 4 bits of sub-pixel precision where llvmpipe has 8 (a
//   row of the backdrop, pixels along triangle edges), single texels of a far-minified texture
//   without mipmaps that its interpolation picks on the other side of a boundary, and the additive
//   particles, which it blends a level or two darker.
// - Firefox draws on llvmpipe itself: WebKit's frames, pixel for pixel, since the page's depth
//   buffer ties depths as a 16-bit buffer does there too; the same gate as Chromium's.
// - WebKit draws through ANGLE on llvmpipe, which matches it to 2 levels: a tight gate, so that a
//   small regression shows.
const Gates = { chromium: [6, 0.995], firefox: [6, 0.995], webkit: [2, 0.999] };
const [WithinLevels, MinShareWithin] = Gates[engine] || Gates.chromium;
// What a key must change, as the golden runs ask of a run against its base.
const MinChangedShare = 0.01;
// The cases Firefox and WebKit run; Chromium runs them all.
const EveryEngine = ['golden', 'smoke'];

function fail(message) {
  throw new Error(message);
}

const decodePng = (bytes) => PNG.sync.read(bytes);

// Share of pixels within 2, 6 and 16 levels, and the largest channel difference.
function compare(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height) fail('sizes differ');
  const within = { 2: 0, 6: 0, 16: 0 };
  let largest = 0;
  for (let i = 0; i < actual.data.length; i += 4) {
    let d = 0;
    for (let c = 0; c < 3; c++) d = Math.max(d, Math.abs(actual.data[i + c] - expected.data[i + c]));
    largest = Math.max(largest, d);
    for (const level of [2, 6, 16]) if (d <= level) within[level]++;
  }
  const pixels = actual.data.length / 4;
  return { within2: within[2] / pixels, within6: within[6] / pixels, within16: within[16] / pixels, largest,
    gate: within[WithinLevels] / pixels };
}

// The golden table, with each run's input following its base's, as the golden tier reads it.
function goldenRuns() {
  const runs = new Map();
  for (const line of fs.readFileSync(path.join(goldenDir, 'runs.txt'), 'utf8').split('\n')) {
    if (!line.trim() || line.startsWith('#')) continue;
    const [name, frames, shots, base, ...own] = line.trim().split(/\s+/);
    const input = [base !== '-' ? runs.get(base).input : '', own.join(' ')].filter((s) => s).join(' ');
    runs.set(name, { name, frames: Number(frames), shots: shots.split(',').map(Number), base, input });
  }
  return [...runs.values()];
}

async function evaluate(browser, expression) {
  return browser.evaluate(expression);
}

// Polls the page until `expression` is true; never a fixed sleep.
async function waitFor(browser, expression, what, seconds = 20) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    if (await evaluate(browser, expression)) return;
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  fail(`timed out waiting for ${what}; page says: ` +
    (await evaluate(browser, '[document.body.innerText, ...(window.QuorvaneConsoleErrors || [])].join("; ")')));
}

// A key going down or up, through the engine's own input path. `code` names it (KeyL, F1, Escape);
// the engine derives the rest, as a keyboard would.
async function key(browser, name, code, virtualKey, type) {
  await browser.key(code, type === 'keyDown');
}

// A key held for two presented frames, as a person's press is.
async function press(browser, name, code, virtualKey) {
  await key(browser, name, code, virtualKey, 'keyDown');
  const at = await evaluate(browser, 'QuorvanePage.presented');
  await waitFor(browser, `QuorvanePage.presented >= ${at + 2} || QuorvanePage.state !== 'running'`, 'two frames');
  await key(browser, name, code, virtualKey, 'keyUp');
}

// The CSS position of the centre of pixel (x, y) of the picture, and of the named control.
const pictureAt = (browser, x, y) => evaluate(browser, `(() => {
  const c = document.querySelector('#quorvane-screen canvas:not(.retired)'), r = c.getBoundingClientRect();
  return { x: r.left + (${x} + 0.5) * r.width / c.width, y: r.top + (${y} + 0.5) * r.height / c.height }; })()`);
async function controlAt(browser, name) {
  const control = `[...document.querySelectorAll('.quorvane-control')].find((e) => e.getAttribute('aria-label') === '${name}')`;
  await waitFor(browser, `${control}.offsetParent !== null`, name);
  return evaluate(browser, `(() => { const b = ${control}; b.scrollIntoView({ block: 'nearest' });
    const r = b.getBoundingClientRect(); return { x: r.left + r.width / 2, y: r.top + r.height / 2 }; })()`);
}

// Waits until the page has presented `count` more frames.
async function framesPass(browser, count, seconds) {
  const at = await evaluate(browser, 'QuorvanePage.presented');
  await waitFor(browser, `QuorvanePage.presented >= ${at + count}`, `${count} frames`, seconds);
}

const Dialog = `(() => { const d = document.querySelector('.quorvane-dialog');
  return d && { caption: d.querySelector('.caption').textContent, text: d.querySelector('.text').textContent,
    buttons: [...d.querySelectorAll('button')].map((b) => b.textContent) }; })()`;

async function answer(browser, label) {
  await evaluate(browser, `[...document.querySelectorAll('.quorvane-dialog button')].find((b) => b.textContent === '${label}').click()`);
}

let caseBrowser = null; // the browser of the case being run
// Checks run on every page after its drive, before it closes: async (browser) => {}. The first:
// nothing was asked of the GL layer that it does not do as GL would (gl_layer.h's flags).
const PageChecks = [async (browser) => {
  if (await evaluate(browser, 'Module._QuorvaneGlDivergences()')) fail('GL layer: ' + (await evaluate(browser, 'QuorvanePage.lines')));
}];

// A page run: served with `overrides`, opened at `query` after `beforeLoad` (a viewport, device
// emulation), with `prepare` run before the page's own scripts; then `drive` does the rest, and
// console errors or uncaught exceptions fail it. Both get the driver's page
// (tools/browsers/browsers.js): evaluate, key, screenshot and `engine`; in Chromium and Firefox
// also puppeteer's Page (`page`), and in Chromium a DevTools session (`cdp`). Outside a case, a
// browser is started for it.
async function withPage(query, { overrides = {}, prepare, beforeLoad } = {}, drive) {
  const server = await serve(pageDir, { overrides, prepare });
  const browser = caseBrowser || (await browsers.launch(engine));
  let page;
  try {
    page = await browser.newPage();
    if (beforeLoad) await beforeLoad(page);
    await page.goto(`http://127.0.0.1:${server.address().port}/index.html${query}`);
    await waitFor(page, "typeof QuorvanePage === 'object'", 'the page');
    await drive(page);
    for (const check of PageChecks) await check(page);
    const errors = await evaluate(page, 'QuorvaneConsoleErrors');
    if (errors.length) fail('the page reported: ' + errors.join('; '));
  } finally {
    if (page) await page.close().catch(() => {}); // closing is not under test, and hides no failure
    if (browser !== caseBrowser) await browser.close();
    server.close();
  }
}

// A shot the capture has written to the page's file system.
async function shotOf(browser, shot) {
  const base64 = await evaluate(browser, `(() => { const b = Module.FS.readFile('captures/frame-${shot}.png');
    let s = ''; for (let i = 0; i < b.length; i += 32768) s += String.fromCharCode.apply(null, b.subarray(i, i + 32768));
    return btoa(s); })()`);
  return decodePng(Buffer.from(base64, 'base64'));
}

async function shotsOf(browser, shots) {
  await waitFor(browser, "QuorvanePage.state === 'ended'", 'the capture to end', 120);
  const pictures = {};
  for (const shot of shots) pictures[shot] = await shotOf(browser, shot);
  return pictures;
}

const liveCanvas = "(document.querySelector('#quorvane-screen canvas:not(.retired)') || {}).id";

// F1 goes fullscreen and back, each time on a new canvas with frames on it.
async function fullscreenAndBack(browser) {
  for (const fullscreen of [true, false]) {
    const [before, at] = await evaluate(browser, `[${liveCanvas}, QuorvanePage.presented]`);
    await press(browser, 'F1', 'F1', 0x70);
    await waitFor(browser, `QuorvanePage.isFullscreen() === ${fullscreen} && QuorvanePage.presented > ${at + 3}`, 'the switch');
    if ((await evaluate(browser, liveCanvas)) === before) fail('the same canvas after F1');
  }
}

// A context the browser takes away comes back on a new canvas, and the scene goes on.
async function loseContext(browser) {
  const first = await evaluate(browser, liveCanvas);
  await evaluate(browser, `document.getElementById('${first}').getContext('webgl2').getExtension('WEBGL_lose_context').loseContext()`);
  await waitFor(browser, `${liveCanvas} !== '${first}'`, 'a new canvas');
  const at = await evaluate(browser, 'QuorvanePage.presented');
  await waitFor(browser, `QuorvanePage.presented > ${at + 3}`, 'frames on the new canvas');
  if (await evaluate(browser, 'document.querySelectorAll("#quorvane-screen canvas").length') !== 1) fail('canvases left over');
}

const reference = (run, shot) => decodePng(fs.readFileSync(path.join(goldenDir, `reference/${run}-${shot}.png`)));
const captureQuery = (run, input) =>
  `?frames=${run.frames}&shots=${run.shots.join(',')}&input=${encodeURIComponent(input)}`;
const run = (name) => goldenRuns().find((r) => r.name === name);
const percent = (share) => (100 * share).toFixed(2) + '%';

const Cases = {
  // Every golden run's frames, drawn in the page, against the native references.
  async golden() {
    let worst = 1;
    const runs = goldenRuns();
    const check = (golden) => withPage(captureQuery(golden, golden.input), {}, async (browser) => {
      const pictures = await shotsOf(browser, golden.shots);
      for (const shot of golden.shots) {
        const d = compare(pictures[shot], reference(golden.name, shot));
        worst = Math.min(worst, d.gate);
        console.log(`${golden.name}-${shot}: within 2 ${percent(d.within2)}, 6 ${percent(d.within6)}, ` +
          `16 ${percent(d.within16)}, largest ${d.largest}`);
      }
    });
    // Chromium draws two pages at a time: most of a run is waiting for the display. The others
    // show one page at a time, and a page behind another gets no frames.
    const atOnce = engine === 'chromium' ? 2 : 1;
    for (let i = 0; i < runs.length; i += atOnce) await Promise.all(runs.slice(i, i + atOnce).map(check));
    if (worst < MinShareWithin) fail(`a frame has only ${percent(worst)} of its pixels within ${WithinLevels} levels`);
  },

  // Keys over the protocol reach the scene: L lit at frame 150 gives the lit reference, whenever it
  // was pressed; H shows the panel over the default frame. A tap on a control on a phone's screen
  // does what its key does.
  async keys() {
    for (const [name, code, vk, golden, base, same, control] of [['l', 'KeyL', 0x4c, 'group', 'lighting', true],
      ['h', 'KeyH', 0x48, 'default', 'default', false], ['l', '', 0x4c, 'group', 'lighting', true, 'Lighting (L)'],
      ['h', '', 0x48, 'default', 'default', false, 'This help (H)']]) {
      const r = run(golden), shot = golden === 'default' ? 100 : 150;
      await withPage(`?frames=${shot}&shots=${shot}&input=${encodeURIComponent(r.input)}`, {}, async (browser) => {
        if (control) await browser.screen(360, 640, true);
        await waitFor(browser, 'QuorvanePage.presented >= 5', 'the first frames');
        if (control) {
          const at = await controlAt(browser, control);
          await Promise.all([browser.touch([{ ...at, id: 1 }]), browser.touch([])]); // a tap shorter than a frame
        } else {
          await press(browser, name, code, vk);
        }
        if (await evaluate(browser, `QuorvanePage.presented >= ${shot - 10}`)) fail('the key came too late');
        const d = compare((await shotsOf(browser, [shot]))[shot], reference(base, shot));
        console.log(`${control || name}: ${percent(d.gate)} within ${WithinLevels} of ${base}-${shot}`);
        if (same ? d.gate < MinShareWithin : 1 - d.gate < MinChangedShare) fail(`${control || name} did not act`);
      });
    }
  },

  // A drag turns the view by 0.4 degrees per pixel of the picture, whatever moves it and wherever it
  // ends: the same drag across the picture by the right button in a window, by a finger on a
  // phone's screen, and by the right button let go over the heading and then moved back across the
  // picture, all give the same frame, which differs from the frame without the drag.
  async drags() {
    const Path = [[95, 240], [320, 240], [545, 240], [545, 120], [545, 0]];
    const heading = "(() => { const r = document.querySelector('h1').getBoundingClientRect(); return r.top + r.height / 2; })()";
    let first = null;
    for (const how of ['mouse', 'finger', 'mouse let go over the heading']) {
      await withPage('?frames=150&shots=150', {}, async (browser) => {
        if (how === 'finger') await browser.screen(360, 640, true);
        else await browser.screen(1280, 800);
        await waitFor(browser, 'QuorvanePage.presented >= 5', 'the first frames');
        const points = [];
        for (const [x, y] of Path) points.push(await pictureAt(browser, x, y));
        if (how === 'finger') {
          for (const point of points) await browser.touch([{ ...point, id: 1 }]);
          await browser.touch([]);
        } else {
          const end = how === 'mouse' ? points[points.length - 1] : { ...points[points.length - 1], y: await evaluate(browser, heading) };
          const { mouse } = browser.page;
          for (const [i, point] of [...points, end].entries()) {
            await mouse.move(point.x, point.y);
            if (!i) await mouse.down({ button: 'right' });
          }
          await mouse.up({ button: 'right' });
          for (const point of points.reverse()) await mouse.move(point.x, point.y);
        }
        if (await evaluate(browser, 'QuorvanePage.presented >= 140')) fail('the drag came too late');
        const picture = (await shotsOf(browser, [150]))[150];
        const d = compare(picture, first || reference('default', 150));
        console.log(`${how}: ${percent(d.gate)} within ${WithinLevels} of ${first ? 'the mouse' : 'default-150'}`);
        if (first ? d.gate < MinShareWithin : 1 - d.gate < MinChangedShare) fail(`${how} turned the view otherwise`);
        first = first || picture;
      });
    }
  },

  // The page on phones: it fits the screen however the phone is held, turned without a reload; a
  // control can be held with one finger while another drags, and nothing stays held once they are
  // let go or the page loses the focus; idle, it does no layout or style work per frame.
  async phone() {
    await withPage('', {}, async (browser) => {
      for (const [width, height] of [[320, 568], [360, 640], [640, 360]]) {
        await browser.screen(width, height, true);
        await framesPass(browser, 3);
        const [overflow, inView, small] = await evaluate(browser, `(() => {
          const r = document.querySelector('#quorvane-screen canvas:not(.retired)').getBoundingClientRect();
          return [document.documentElement.scrollWidth - innerWidth, r.left >= 0 && r.top >= 0 && r.right <= innerWidth &&
            r.bottom <= innerHeight, [...document.querySelectorAll('.quorvane-control')].filter((b) => b.offsetWidth < 44 ||
            b.offsetHeight < 44).length]; })()`);
        console.log(`${width} x ${height}: overflow ${overflow}, picture in view ${inView}, controls under 44 px ${small}`);
        if (overflow > 0 || !inView || small) fail(`the page does not fit ${width} x ${height}`);
      }
      await browser.screen(360, 640, true);
      const W = { ...(await controlAt(browser, 'Move camera (W)')), id: 1 }, held = [];
      const note = async () => held.push(JSON.stringify(await evaluate(browser, 'QuorvanePage.heldInput()')));
      await browser.touch([W]);
      await framesPass(browser, 5);
      for (const [x, y] of [[300, 200], [340, 220]]) await browser.touch([W, { ...(await pictureAt(browser, x, y)), id: 2 }]);
      await note();
      await browser.touch([W]);
      await note();
      await browser.touch([]);
      await framesPass(browser, 2);
      await note();
      console.log(`held with W and a drag, with W, with neither: ${held.join(' ')}`);
      if (held.join(' ') !== '{"keys":[87],"buttons":2} {"keys":[87],"buttons":0} {"keys":[],"buttons":0}')
        fail('a control and a drag together');
      await browser.cdp.send('Performance.enable');
      const counts = async () => (await browser.cdp.send('Performance.getMetrics')).metrics
        .filter((m) => /^(LayoutCount|RecalcStyleCount)$/.test(m.name)).map((m) => m.value).join();
      const before = await counts();
      await framesPass(browser, 300, 60);
      console.log(`layouts and style recalculations: ${before} before 300 frames, ${await counts()} after`);
      if ((await counts()) !== before) fail('an idle page lays out or restyles per frame');
      // A key held while the page loses the focus to another tab is let go.
      await key(browser, 'a', 'KeyA', 0x41, 'keyDown');
      await waitFor(browser, 'QuorvanePage.heldInput().keys.includes(0x41)', 'A held');
      await (await browser.page.browser().newPage()).bringToFront();
      await waitFor(browser, '!document.hasFocus() && QuorvanePage.heldInput().keys.length === 0', 'A let go');
    });
  },

  // Escape ends the program; the page says so and offers to start again.
  async escape() {
    await withPage('', {}, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames', 5);
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyDown');
      await waitFor(browser, "QuorvanePage.state === 'ended'", 'the end');
      const text = await evaluate(browser, "document.querySelector('.quorvane-ended').innerText");
      if (!/has ended/.test(text) || !/Start again/.test(text)) fail('no end notice: ' + text);
      if (!(await evaluate(browser, "document.querySelector('#quorvane-screen canvas') !== null"))) fail('no canvas');
    });
  },

  // The desktop's boxes, as dialogs: a damaged picture, both pictures missing, no WebGL context.
  async boxes() {
    const damaged = Buffer.from(fs.readFileSync(path.join(pageDir, 'data/t1.bmp')));
    damaged.write('XX', 0, 'latin1');
    const cases = [
      [{ overrides: { 'data/t1.bmp': damaged } }, 'Error', 'OK', 'running'],
      [{ overrides: { 'data/t1.bmp': null, 'data/star.bmp': null } }, 'Initialization Error', 'OK', 'ended',
        'Initialize OpenGL failed'],
      [{ prepare: "HTMLCanvasElement.prototype.getContext = () => null;" }, 'Initialization error', 'OK', 'ended',
        'Create rendering context failed'],
    ];
    for (const [options, caption, button, after, text] of cases) {
      await withPage('', options, async (browser) => {
        await waitFor(browser, Dialog, 'a dialog');
        const dialog = await evaluate(browser, Dialog);
        console.log(JSON.stringify(dialog));
        if (dialog.caption !== caption || (text && dialog.text !== text) || dialog.buttons.join() !== button)
          fail('unexpected dialog ' + JSON.stringify(dialog));
        await answer(browser, button);
        await waitFor(browser, `QuorvanePage.state === '${after}'` + (after === 'running' ? ' && QuorvanePage.presented > 3' : ''), after);
      });
    }
  },

  // A refused fullscreen, or none at all (a phone's browser without the Fullscreen API), asks the
  // desktop's question; Yes goes on in a window.
  async fullscreen() {
    for (const refuse of ['Element.prototype.requestFullscreen = function () { return Promise.reject(new TypeError("refused")); };',
      'delete Element.prototype.requestFullscreen;']) await withPage('', { prepare: refuse }, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      await key(browser, 'F1', 'F1', 0x70, 'keyDown');
      await waitFor(browser, Dialog, 'the question');
      const dialog = await evaluate(browser, Dialog);
      if (dialog.caption !== 'Initialization Error' || dialog.buttons.join() !== 'Yes,No' || !/windowed mode\?$/.test(dialog.text))
        fail('unexpected dialog ' + JSON.stringify(dialog));
      await key(browser, 'F1', 'F1', 0x70, 'keyUp');
      // Keys and controls pressed during the dialog do not reach the scene: Escape would end it. Tab
      // stays in the dialog.
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyDown');
      await key(browser, 'Escape', 'Escape', 0x1b, 'keyUp');
      await evaluate(browser, "document.getElementById('quorvane-controls-toggle').click()");
      const esc = await controlAt(browser, 'Quit (Esc)');
      await browser.page.mouse.click(esc.x, esc.y);
      for (const type of ['keyDown', 'keyUp', 'keyDown', 'keyUp']) await key(browser, 'Tab', 'Tab', 0x09, type);
      if (!(await evaluate(browser, "document.querySelector('.quorvane-dialog').contains(document.activeElement)")))
        fail('the focus left the dialog');
      const at = await evaluate(browser, 'QuorvanePage.presented');
      await answer(browser, 'Yes');
      await waitFor(browser, `QuorvanePage.presented > ${at + 3} && QuorvanePage.state === 'running'`, 'frames in a window');
      if (await evaluate(browser, 'QuorvanePage.isFullscreen()')) fail('fullscreen after all');
    });
    // Allowed, F1 goes fullscreen and back, each time on a new canvas. After the browser leaves
    // fullscreen by itself, the program is back in its window, and one F1 goes fullscreen again;
    // there, in 1280 x 720 with the cursor hidden, equal moves across the letterboxed picture are
    // equal moves in its pixels.
    await withPage('', {}, async (browser) => {
      await browser.screen(1280, 720);
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      await fullscreenAndBack(browser);
      for (const how of ['F1', 'the browser', 'F1']) {
        const [before, at] = await evaluate(browser, `[${liveCanvas}, QuorvanePage.presented]`);
        if (how === 'F1') await press(browser, 'F1', 'F1', 0x70);
        else await evaluate(browser, 'document.exitFullscreen()');
        await waitFor(browser, `QuorvanePage.isFullscreen() === ${how === 'F1'} && QuorvanePage.presented > ${at + 3} && ` +
          `${liveCanvas} !== '${before}' && !QuorvanePage.dialogOpen()`, `the switch by ${how}`);
      }
      const moved = [];
      for (const [dx, dy] of [[0, 0], [240, 0], [0, 240]]) {
        await browser.page.mouse.move(640 + dx, 360 + dy);
        moved.push(await evaluate(browser, '[QuorvanePage.pointer.x, QuorvanePage.pointer.y]'));
      }
      const [dx, dy] = [moved[1][0] - moved[0][0], moved[2][1] - moved[0][1]];
      const cursor = await evaluate(browser, `document.getElementById(${liveCanvas}).style.cursor`);
      console.log(`fullscreen: 240 CSS pixels are ${dx} pixels across and ${dy} down; cursor ${cursor}`);
      if (dx !== 160 || dy !== 160 || cursor !== 'none') fail('the fullscreen picture is mapped or shown wrongly');
    });
  },

  async context_lost() {
    await withPage('', {}, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      await loseContext(browser);
    });
  },

  // In one page: L, pressed early in the capture of the group run, lights its frame 150 as in the
  // lit reference; then F1 to fullscreen and back, and a lost context, each on a new canvas.
  async smoke() {
    await withPage(captureQuery({ frames: 1000, shots: [150] }, run('group').input), {}, async (browser) => {
      await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
      await press(browser, 'l', 'KeyL', 0x4c);
      if (await evaluate(browser, 'QuorvanePage.presented >= 140')) fail('the key came too late');
      await waitFor(browser, 'QuorvanePage.presented > 150', 'frame 150');
      const d = compare(await shotOf(browser, 150), reference('lighting', 150));
      console.log(`l: ${percent(d.gate)} within ${WithinLevels} of lighting-150`);
      if (d.gate < MinShareWithin) fail('l did not act');
      await fullscreenAndBack(browser);
      await loseContext(browser);
    });
  },

  // After 3 F1 switches and lost contexts as many GL objects live as after one (WebGL's calls wrapped).
  async gl_objects() {
    const count = `window.glObjects = new Set(); const gl = WebGL2RenderingContext.prototype;
      for (const kind of ['Texture', 'Buffer', 'Program', 'Shader', 'Framebuffer', 'Renderbuffer', 'VertexArray']) {
        const create = gl['create' + kind], remove = gl['delete' + kind];
        gl['create' + kind] = function () { const made = create.apply(this, arguments); glObjects.add(made); return made; };
        gl['delete' + kind] = function (object) { glObjects.delete(object); return remove.call(this, object); };
      }`;
    const canvas = "document.querySelector('#quorvane-screen canvas:not(.retired)').id", live = [];
    await withPage('', { prepare: count }, async (browser) => {
      for (let change = 0; change < 6; change++) {
        await waitFor(browser, 'QuorvanePage.presented >= 3', 'the first frames');
        const [before, at] = await evaluate(browser, `[${canvas}, QuorvanePage.presented]`);
        if (change % 2 === 0) await press(browser, 'F1', 'F1', 0x70);
        else await evaluate(browser, `document.getElementById('${before}').getContext('webgl2').getExtension('WEBGL_lose_context').loseContext()`);
        await waitFor(browser, `${canvas} !== '${before}' && QuorvanePage.presented > ${at + 5}`, 'frames on a new canvas');
        if (change % 2) live.push(await evaluate(browser, 'glObjects.size'));
      }
    });
    if (live[2] !== live[0]) fail('GL objects alive after 1, 2 and 3 switches and losses: ' + live.join(', '));
  },

  // A bad capture option is named, and nothing is drawn; an address without the capture tool's
  // `frames`, such as a link shared with tracking parameters, runs the scene.
  async bad_option() {
    await withPage('?frames=10&shot=1', {}, async (browser) => {
      await waitFor(browser, "QuorvanePage.state === 'ended'", 'the end');
      const lines = await evaluate(browser, 'QuorvanePage.lines.join("\\n")');
      if (!/--shot/.test(lines) || (await evaluate(browser, 'QuorvanePage.presented')) !== 0) fail('not refused: ' + lines);
    });
    await withPage('?utm_source=x&fbclid=y', {}, async (browser) => {
      await waitFor(browser, "QuorvanePage.presented > 10 && QuorvanePage.state === 'running'", 'the scene');
      if (await evaluate(browser, 'QuorvanePage.lines.length')) fail('the address went to the program');
    });
  },
};

module.exports = { withPage, waitFor, evaluate, press, key, PageChecks };
if (require.main !== module) return;
const cases = engine === 'chromium' ? Object.keys(Cases) : EveryEngine;
const name = `${engine} ${caseName}`;
deadline(Number(process.env.QUORVANE_WEB_DEADLINE) || 280, name);
const started = Date.now();
(async () => {
  if (!cases.includes(caseName)) fail(`no case ${caseName} in ${engine}; cases: ${cases.join(' ')}`);
  console.log(`starting ${engine}`);
  caseBrowser = await browsers.launch(engine);
  console.log(`${caseBrowser.version}, WebGL 2 on ${caseBrowser.renderer}`);
  try {
    await Cases[caseName]();
  } finally {
    await caseBrowser.close();
  }
})().then(() => console.log(`${name}: passed in ${((Date.now() - started) / 1000).toFixed(1)} s`),
  (error) => { console.error(`${name}: FAILED: ${error.message}`); process.exit(1); });
