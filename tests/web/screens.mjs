// Which screen a page shows, told by its texts as the headless runner's autoplayer tells it
// (tools/headless/autoplay_screens.cpp), with the game's own font read from its source.
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const source = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', '..', 'src', 'gfx', 'font8x8.cpp');
const font = [...fs.readFileSync(source, 'utf8').matchAll(/\{((?:0x[0-9A-Fa-f]{2},?){8})\}/g)]
    .map((m) => m[1].split(',').map((b) => parseInt(b, 16)));
if (font.length !== 256) throw new Error(`font8x8.cpp: ${font.length} glyphs read`);

// page: {width, height, rgba}; colour 0xRRGGBB. True when every set pixel of the text's glyphs
// has exactly that colour.
export function showsText(page, x, y, text, colour) {
  let any = false;
  for (let i = 0; i < text.length; ++i) {
    const glyph = font[text.charCodeAt(i)];
    for (let row = 0; row < 8; ++row)
      for (let col = 0; col < 8; ++col) {
        if (!(glyph[row] & (0x80 >> col))) continue;
        const at = ((y + row) * page.width + x + i * 8 + col) * 4;
        const rgb = (page.rgba[at] << 16) | (page.rgba[at + 1] << 8) | page.rgba[at + 2];
        if (rgb !== colour) return false;
        any = true;
      }
  }
  return any;
}

// The glyph pixels of a text drawn translucent (the table's pulsing names): each clearly
// bluer than it is red.
export function showsBluishText(page, x, y, text) {
  for (let i = 0; i < text.length; ++i) {
    const glyph = font[text.charCodeAt(i)];
    for (let row = 0; row < 8; ++row)
      for (let col = 0; col < 8; ++col) {
        if (!(glyph[row] & (0x80 >> col))) continue;
        const at = ((y + row) * page.width + x + i * 8 + col) * 4;
        if (page.rgba[at + 2] < page.rgba[at] + 40) return false;
      }
  }
  return true;
}

const kLife = 0x1E7FC8, kTally = 0xAFAFFF, kLightBlue = 0x9191FF, kTableBlue = 0x0275BE;
const kMenuLabels = ['Start New Game', 'Options', 'Instructions', 'High Scores', 'Exit'];
const kOptionLabels = ['Music Volume: ', 'SFX Volume: ', 'Full Screen: ', 'Score Server: ', 'Player Name: ', 'Exit'];

export function screenOf(page) {
  if (showsText(page, 280, 225, 'Abort(Y/N)?', kTableBlue)) return 'abort-question';
  if (showsText(page, 390, 5, 'Life:', kLife)) return 'round';
  if (showsText(page, 240, 50, 'Final Score Calculation', kTally))
    return showsText(page, 240, 250, 'Press ENTER to continue', kLightBlue) ? 'tally-done' : 'tally';
  if (showsText(page, 210, 200, 'Record your top score (Y/N)?', kLightBlue)) return 'record-prompt';
  if (showsText(page, 200, 180, 'Please input your name: ', kLightBlue)) return 'name-entry';
  if (showsText(page, 270, 90, 'WORLD TABLE', kTableBlue)) return 'world-table';
  if (showsText(page, 285, 120, 'TOP SCORES', kTableBlue)) return 'high-scores';
  for (let item = 1; item <= 5; ++item)
    if (showsText(page, 400, 160 + 10 * item, kMenuLabels[item - 1], kLightBlue)) return `menu-${item}`;
  // The options, by the item chosen; the effects' second level by its own name.
  if (showsText(page, 270, 180, 'SFX Volume: 25 %', kLightBlue)) return 'sfx-25';
  for (let item = 1; item <= kOptionLabels.length; ++item)
    if (showsText(page, 270, 160 + 10 * item, kOptionLabels[item - 1], kLightBlue)) return `options-${item}`;
  return 'other';
}
