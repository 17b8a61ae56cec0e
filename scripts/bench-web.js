'use strict';
// The page measured in one browser engine, through the web tier's driver:
//   node scripts/bench-web.js PAGE_DIR bench FRAMES [ENGINE [DEPTH]]
// prints the page's --bench lines (the capture tool in the page, not waiting for the display);
//   node scripts/bench-web.js PAGE_DIR vsync SECONDS [ENGINE]
// prints the default scene's frame rate as the display paces it, and the time from the start of
// the page's navigation to its first frame. ENGINE: chromium (the default), firefox or webkit.
// DEPTH `rounded` or `unrounded` decides for the page's depth probe, so that what rounding depths
// to 16-bit steps costs can be measured in any engine. Run by scripts/bench-web.sh.
const path = require('path');
const [pageDir, mode, amount, engine = 'chromium', depth] = process.argv.slice(2);
process.argv.splice(2, process.argv.length, pageDir, path.join(__dirname, '..'), mode, engine);
const { withPage, waitFor, evaluate } = require('../tests/web/web_test.js');

const measures = {
  async bench(browser) {
    await waitFor(browser, "QuorvanePage.state === 'ended'", 'the bench to end', 600);
    console.log(await evaluate(browser, 'QuorvanePage.lines.join("\\n")'));
  },
  async vsync(browser) {
    await waitFor(browser, 'QuorvanePage.presented >= 10', 'the first frames');
    const seconds = Number(amount);
    const [at, start] = await evaluate(browser, '[QuorvanePage.presented, performance.now()]');
    await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
    const [now, end, first] = await evaluate(browser,
      '[QuorvanePage.presented, performance.now(), QuorvanePage.firstFrameMs]');
    console.log(`vsync_fps=${((now - at) * 1000 / (end - start)).toFixed(1)} first_frame_ms=${first.toFixed(0)}`);
  },
};
const prepare = depth ? `var QuorvaneRoundDepth = ${depth === 'rounded'};` : '';
withPage(mode === 'bench' ? `?frames=${amount}&bench` : '', { prepare }, measures[mode]).then(() => process.exit(0),
  (error) => {
    console.error(error.message);
    process.exit(1);
  });
