'use strict';
// The page in headless Chromium, measured: node scripts/bench-web.js PAGE_DIR bench FRAMES prints
// the page's --bench lines (the capture tool in the page, not waiting for the display);
// node scripts/bench-web.js PAGE_DIR vsync SECONDS prints the default scene's frame rate as the
// display paces it, and the time from the start of the page's navigation to its first frame.
// Run by scripts/bench-web.sh, beside the desktop programs.
const path = require('path');
const [pageDir, mode, amount] = process.argv.slice(2);
process.argv.splice(2, process.argv.length, pageDir, path.join(__dirname, '..'));
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
withPage(mode === 'bench' ? `?frames=${amount}&bench` : '', {}, measures[mode]).catch((error) => {
  console.error(error.message);
  process.exit(1);
});
