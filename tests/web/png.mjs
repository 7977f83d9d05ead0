// Reads the PNG files Chromium's screenshots are (8-bit RGB or RGBA, not interlaced) into
// { width, height, channels, pixels }, and measures them.
import zlib from 'node:zlib';

export function decodePng(buffer) {
  if (buffer.subarray(0, 8).toString('hex') !== '89504e470d0a1a0a') throw new Error('not a PNG file');
  let [width, height, channels] = [0, 0, 0];
  const data = [];
  for (let at = 8; at < buffer.length;) {
    const length = buffer.readUInt32BE(at);
    const type = buffer.toString('latin1', at + 4, at + 8);
    const body = buffer.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      [width, height] = [body.readUInt32BE(0), body.readUInt32BE(4)];
      const [depth, colour] = [body[8], body[9]];
      if (depth !== 8 || (colour !== 2 && colour !== 6) || body[12] !== 0) {
        throw new Error(`unsupported PNG: depth ${depth}, colour type ${colour}`);
      }
      channels = colour === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    } else if (type === 'IEND') {
      break;
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(height * stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? pixels[y * stride + x - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      const p = a + b - c;
      const [pa, pb, pc] = [Math.abs(p - a), Math.abs(p - b), Math.abs(p - c)];
      const paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      const predicted = [0, a, b, (a + b) >> 1, paeth][filter];
      pixels[y * stride + x] = (line[x] + predicted) & 0xff;
    }
  }
  return { width, height, channels, pixels };
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
