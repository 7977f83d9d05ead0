// Screenshots as { width, height, channels, pixels } (RGB, 8 bits), decoded by ImageMagick's
// convert, and measured.
import { execFileSync } from 'node:child_process';

export function decodePng(buffer) {
  let ppm;
  try {
    ppm = execFileSync('convert', ['png:-', '-depth', '8', 'ppm:-'],
      { input: buffer, maxBuffer: 1 << 28 });
  } catch (error) {
    throw new Error(`ImageMagick's convert (scripts/install-deps) cannot read a PNG: ${error.message}`);
  }
  const header = ppm.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error('convert gave no 8-bit picture');
  return { width: +header[1], height: +header[2], channels: 3, pixels: ppm.subarray(header[0].length) };
}

// The mean colour [r, g, b], 0..255, of the rectangle, clipped to the image (the whole image when
// none is given).
function meanColour(image, left = 0, top = 0, right = image.width, bottom = image.height) {
  const sum = [0, 0, 0];
  const [x0, y0] = [Math.max(0, left), Math.max(0, top)];
  const [x1, y1] = [Math.min(image.width, right), Math.min(image.height, bottom)];
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      for (let i = 0; i < 3; ++i) sum[i] += image.pixels[(y * image.width + x) * image.channels + i];
    }
  }
  return sum.map((v) => v / Math.max(1, (x1 - x0) * (y1 - y0)));
}

// The colour round (x, y), over a (2k+1)-pixel square; the brightness 0..1 of a rectangle.
export const colourAt = (image, x, y, k = 2) => meanColour(image,
  Math.round(x) - k, Math.round(y) - k, Math.round(x) + k + 1, Math.round(y) + k + 1);
export const brightness = (...args) => meanColour(...args).reduce((a, b) => a + b) / (3 * 255);
