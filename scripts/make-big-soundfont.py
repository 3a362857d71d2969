#!/usr/bin/env python3
"""Writes a large SoundFont for measurements: every sample, instrument and preset of a General
MIDI SoundFont twice (the copies' presets in banks 64 and up, the drum kits' in bank 120), then
the sample data once more, unused, so the file passes 400 MB from a 141 MB source.

usage: make-big-soundfont.py [SOURCE.sf2] OUT.sf2
"""
import struct
import sys


def chunks(data, offset, end):
    while offset < end:
        cid = data[offset:offset + 4]
        size = struct.unpack_from('<I', data, offset + 4)[0]
        yield cid, offset + 8, size
        offset += 8 + size + (size & 1)


def chunk(cid, body):
    return cid + struct.pack('<I', len(body)) + body + (b'\0' if len(body) & 1 else b'')


def records(body, size):
    return [bytearray(body[i:i + size]) for i in range(0, len(body), size)]


def main(argv):
    source = argv[1] if len(argv) > 2 else '/usr/share/sounds/sf2/FluidR3_GM.sf2'
    out = argv[-1]
    data = open(source, 'rb').read()
    parts = {}
    for cid, offset, size in chunks(data, 12, 8 + struct.unpack_from('<I', data, 4)[0]):
        if cid == b'LIST':
            kind = data[offset:offset + 4]
            parts[kind] = {c: data[o:o + s] for c, o, s in chunks(data, offset + 4, offset + size)}
    info, sdta, pdta = parts[b'INFO'], parts[b'sdta'], parts[b'pdta']
    smpl = sdta[b'smpl']
    frames = len(smpl) // 2

    phdr, pbag, pgen = records(pdta[b'phdr'], 38), records(pdta[b'pbag'], 4), records(pdta[b'pgen'], 4)
    inst, ibag, igen = records(pdta[b'inst'], 22), records(pdta[b'ibag'], 4), records(pdta[b'igen'], 4)
    imod, pmod, shdr = records(pdta[b'imod'], 10), records(pdta[b'pmod'], 10), records(pdta[b'shdr'], 46)
    # The last record of each list is its terminal one.
    n_phdr, n_pbag, n_pgen = len(phdr) - 1, len(pbag) - 1, len(pgen) - 1
    n_inst, n_ibag, n_igen, n_imod = len(inst) - 1, len(ibag) - 1, len(igen) - 1, len(imod) - 1
    n_shdr, n_pmod = len(shdr) - 1, len(pmod) - 1

    new_shdr = shdr[:n_shdr]
    for r in shdr[:n_shdr]:
        c = bytearray(r)
        start, end, loop_start, loop_end = struct.unpack_from('<4I', c, 20)
        struct.pack_into('<4I', c, 20, start + frames, end + frames, loop_start + frames,
                         loop_end + frames)
        link = struct.unpack_from('<H', c, 42)[0]
        struct.pack_into('<H', c, 42, link + n_shdr)
        new_shdr.append(c)
    new_shdr.append(shdr[n_shdr])

    new_igen = igen[:n_igen]
    for r in igen[:n_igen]:
        c = bytearray(r)
        oper, amount = struct.unpack('<HH', c)
        if oper == 53:  # sampleID
            struct.pack_into('<H', c, 2, amount + n_shdr)
        new_igen.append(c)
    new_igen.append(igen[n_igen])
    new_imod = imod[:n_imod] * 2 + [imod[n_imod]]
    new_ibag = ibag[:n_ibag]
    for r in ibag[:n_ibag]:
        g, m = struct.unpack('<HH', r)
        new_ibag.append(bytearray(struct.pack('<HH', g + n_igen, m + n_imod)))
    new_ibag.append(bytearray(struct.pack('<HH', 2 * n_igen, 2 * n_imod)))
    new_inst = inst[:n_inst]
    for r in inst[:n_inst]:
        c = bytearray(r)
        struct.pack_into('<H', c, 20, struct.unpack_from('<H', c, 20)[0] + n_ibag)
        new_inst.append(c)
    new_inst.append(bytearray(inst[n_inst][:20] + struct.pack('<H', 2 * n_ibag)))

    new_pgen = pgen[:n_pgen]
    for r in pgen[:n_pgen]:
        c = bytearray(r)
        oper, amount = struct.unpack('<HH', c)
        if oper == 41:  # instrument
            struct.pack_into('<H', c, 2, amount + n_inst)
        new_pgen.append(c)
    new_pgen.append(pgen[n_pgen])
    new_pmod = pmod[:n_pmod] * 2 + [pmod[n_pmod]]
    new_pbag = pbag[:n_pbag]
    for r in pbag[:n_pbag]:
        g, m = struct.unpack('<HH', r)
        new_pbag.append(bytearray(struct.pack('<HH', g + n_pgen, m + n_pmod)))
    new_pbag.append(bytearray(struct.pack('<HH', 2 * n_pgen, 2 * n_pmod)))
    new_phdr = phdr[:n_phdr]
    for r in phdr[:n_phdr]:
        c = bytearray(r)
        bank = struct.unpack_from('<H', c, 22)[0]
        struct.pack_into('<H', c, 22, 120 if bank == 128 else bank + 64)
        struct.pack_into('<H', c, 24, struct.unpack_from('<H', c, 24)[0] + n_pbag)
        new_phdr.append(c)
    new_phdr.append(bytearray(phdr[n_phdr][:24] + struct.pack('<H', 2 * n_pbag) +
                              phdr[n_phdr][26:]))

    join = lambda rs: b''.join(bytes(r) for r in rs)
    info_body = b'INFO' + b''.join(chunk(c, b) for c, b in info.items())
    pdta_body = b'pdta' + b''.join(chunk(c, join(rs)) for c, rs in [
        (b'phdr', new_phdr), (b'pbag', new_pbag), (b'pmod', new_pmod), (b'pgen', new_pgen),
        (b'inst', new_inst), (b'ibag', new_ibag), (b'imod', new_imod), (b'igen', new_igen),
        (b'shdr', new_shdr)])
    with open(out, 'wb') as f:
        sdta_size = 4 + 8 + 3 * len(smpl)
        body_size = 4 + (8 + len(info_body)) + (8 + sdta_size) + (8 + len(pdta_body))
        f.write(b'RIFF' + struct.pack('<I', body_size) + b'sfbk')
        f.write(chunk(b'LIST', info_body))
        f.write(b'LIST' + struct.pack('<I', sdta_size) + b'sdta')
        f.write(b'smpl' + struct.pack('<I', 3 * len(smpl)))
        for _ in range(3):
            f.write(smpl)
        f.write(chunk(b'LIST', pdta_body))


if __name__ == '__main__':
    main(sys.argv)
