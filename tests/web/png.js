// Reads the 8-bit RGB or RGBA PNG pictures that chromium's screenshots are.

import zlib from 'node:zlib';

export function decode(png) {
  let pos = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  while (pos < png.length) {
    const length = png.readUInt32BE(pos);
    const type = png.toString('latin1', pos + 4, pos + 8);
    const body = png.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      [width, height] = [body.readUInt32BE(0), body.readUInt32BE(4)];
      if (body[8] !== 8 || body[12] !== 0) throw new Error('not an 8-bit, plain PNG');
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error(`PNG colour type ${body[9]}`);
    } else if (type === 'IDAT') {
      data.push(body);
    }
    pos += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const out = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let i = 0; i < stride; i++) {
      const x = raw[y * (stride + 1) + 1 + i];
      const a = i >= channels ? out[y * stride + i - channels] : 0;
      const b = y > 0 ? out[(y - 1) * stride + i] : 0;
      const c = y > 0 && i >= channels ? out[(y - 1) * stride + i - channels] : 0;
      const p = a + b - c;
      const paeth = Math.abs(p - a) <= Math.abs(p - b) && Math.abs(p - a) <= Math.abs(p - c)
        ? a : Math.abs(p - b) <= Math.abs(p - c) ? b : c;
      const predictor = [0, a, b, (a + b) >> 1, paeth][filter];
      out[y * stride + i] = (x + predictor) & 0xff;
    }
  }
  return { width, height, pixel: (x, y) => Array.from(out.subarray((y * width + x) * channels, (y * width + x) * channels + 3)) };
}
