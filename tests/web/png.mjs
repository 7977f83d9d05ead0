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

// The colour at (x, y) as [r, g, b], 0..255, averaged over a (2k+1)-pixel square.
export function colourAt(image, x, y, k = 2) {
  const sum = [0, 0, 0];
  let n = 0;
  for (let dy = -k; dy <= k; ++dy) {
    for (let dx = -k; dx <= k; ++dx) {
      const px = Math.min(image.width - 1, Math.max(0, Math.round(x) + dx));
      const py = Math.min(image.height - 1, Math.max(0, Math.round(y) + dy));
      const at = (py * image.width + px) * image.channels;
      for (let i = 0; i < 3; ++i) sum[i] += image.pixels[at + i];
      ++n;
    }
  }
  return sum.map((v) => v / n);
}

// Mean brightness 0..1 of the rectangle (the whole image when none is given).
export function brightness(image, left = 0, top = 0, right = image.width, bottom = image.height) {
  let sum = 0;
  for (let y = top; y < bottom; ++y) {
    for (let x = left; x < right; ++x) {
      const at = (y * image.width + x) * image.channels;
      sum += image.pixels[at] + image.pixels[at + 1] + image.pixels[at + 2];
    }
  }
  return sum / (3 * 255 * Math.max(1, (right - left) * (bottom - top)));
}
