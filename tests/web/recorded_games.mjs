// The recorded games under tests/replays, played back by the WebAssembly runner under node:
// each must exit 0 (every checkpoint matched), end with the pinned figures and leave its folders
// empty, as the native build's (tests/e2e/recorded_games_test.cpp).
//   node tests/web/recorded_games.mjs build-web/torvane-headless.js
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const runner = path.resolve(process.argv[2] || 'build-web/torvane-headless.js');
const games = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'replays');
let passed = 0, failed = 0;
for (const name of fs.readdirSync(games).filter((f) => f.endsWith('.tvr')).map((f) => f.slice(0, -4)).sort()) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), `torvane-web-${name}-`));
  const env = {...process.env, XDG_CONFIG_HOME: path.join(dir, 'config'), XDG_DATA_HOME: path.join(dir, 'share')};
  let problem = '';
  let got = {};
  try {
    const out = execFileSync('node', [runner, '--play', path.join(games, `${name}.tvr`), '--workdir', dir], {env, encoding: 'utf8'});
    got = JSON.parse(out.trim().split('\n').pop());
  } catch (error) {
    problem = `exit ${error.status}: ${String(error.stderr).trim()}`;
  }
  // The table pages play from the recording: no file is made anywhere.
  if (fs.readdirSync(dir).length) problem += `\n  the replay made ${fs.readdirSync(dir).join(', ')} in its folder`;
  const pinned = JSON.parse(fs.readFileSync(path.join(games, `${name}.json`), 'utf8'));
  for (const [key, value] of Object.entries(pinned))
    if (JSON.stringify(got[key]) !== JSON.stringify(value))
      problem += `\n  ${key}: replayed ${JSON.stringify(got[key])}, pinned ${JSON.stringify(value)}`;
  fs.rmSync(dir, {recursive: true, force: true});
  if (problem) ++failed, console.log(`FAIL ${name}${problem}`);
  else ++passed, console.log(`ok   ${name}`);
}
console.log(`recorded games: ${passed} passed, ${failed} failed`);
process.exit(failed || !passed ? 1 : 0);
