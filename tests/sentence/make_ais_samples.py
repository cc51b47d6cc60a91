#!/usr/bin/env python3
"""Builds the AIS sample sentences of AisDecoderTest.cpp from field values.

Written from the public AIVDM bit tables, independently of the decoder: each
message is packed bit by bit, armoured, split into fragments and given its
checksum here. Run it to see the lines; the test holds them with the values
they were built from.
"""
from functools import reduce


def bits(value, length):
    if value < 0:
        value += 1 << length
    return format(value, '0%db' % length)


def text(s, chars):
    out = ''
    for c in s.ljust(chars, '@')[:chars]:
        code = ord(c)
        out += bits(code - 64 if code >= 64 else code, 6)
    return out


def armour(b):
    fill = (-len(b)) % 6
    b += '0' * fill
    chars = ''
    for i in range(0, len(b), 6):
        v = int(b[i:i + 6], 2)
        chars += chr(v + 48 if v < 40 else v + 56)
    return chars, fill


def sentence(body):
    return '!%s*%02X' % (body, reduce(lambda a, c: a ^ ord(c), body, 0))


def lines(b, channel='A', seq='', per=60):
    payload, fill = armour(b)
    parts = [payload[i:i + per] for i in range(0, len(payload), per)]
    out = []
    for n, part in enumerate(parts, 1):
        f = fill if n == len(parts) else 0
        out.append(sentence('AIVDM,%d,%d,%s,%s,%s,%d' % (len(parts), n, seq if len(parts) > 1 else '', channel, part, f)))
    return out


def lonlat(lon, lat):
    return bits(round(lon * 600000), 28) + bits(round(lat * 600000), 27)


def type1(mmsi, status, rot, sog, acc, lon_raw, lat_raw, cog, hdg, sec):
    return (bits(1, 6) + bits(0, 2) + bits(mmsi, 30) + bits(status, 4) + bits(rot, 8) + bits(sog, 10) +
            bits(acc, 1) + bits(lon_raw, 28) + bits(lat_raw, 27) + bits(cog, 12) + bits(hdg, 9) + bits(sec, 6) +
            bits(0, 2) + bits(0, 3) + bits(0, 1) + bits(0, 19))


def type4(mmsi):
    return (bits(4, 6) + bits(0, 2) + bits(mmsi, 30) + bits(2024, 14) + bits(3, 4) + bits(15, 5) + bits(12, 5) +
            bits(16, 6) + bits(40, 6) + bits(1, 1) + lonlat(4.5, 52.5) + bits(7, 4) + bits(0, 10) + bits(0, 1) +
            bits(0, 19))


def type5(mmsi, callsign, name, dest):
    return (bits(5, 6) + bits(0, 2) + bits(mmsi, 30) + bits(1, 2) + bits(9123456, 30) + text(callsign, 7) +
            text(name, 20) + bits(80, 8) + bits(200, 9) + bits(40, 9) + bits(20, 6) + bits(25, 6) + bits(1, 4) +
            bits(12, 4) + bits(24, 5) + bits(24, 5) + bits(60, 6) + bits(125, 8) + text(dest, 20) + bits(1, 1) +
            bits(0, 1))


def type9(mmsi):
    return (bits(9, 6) + bits(0, 2) + bits(mmsi, 30) + bits(450, 12) + bits(120, 10) + bits(0, 1) +
            lonlat(-1.25, 50.5) + bits(2715, 12) + bits(20, 6) + bits(0, 8) + bits(1, 1) + bits(0, 3) + bits(0, 1) +
            bits(0, 1) + bits(0, 20))


def type18(mmsi, sog, lon_raw, lat_raw, cog, hdg):
    return (bits(18, 6) + bits(0, 2) + bits(mmsi, 30) + bits(0, 8) + bits(sog, 10) + bits(0, 1) +
            bits(lon_raw, 28) + bits(lat_raw, 27) + bits(cog, 12) + bits(hdg, 9) + bits(60, 6) + bits(0, 2) +
            bits(1, 1) + bits(0, 1) + bits(1, 1) + bits(1, 1) + bits(1, 1) + bits(0, 1) + bits(0, 1) + bits(0, 20))


def type19(mmsi):
    return (bits(19, 6) + bits(0, 2) + bits(mmsi, 30) + bits(0, 8) + bits(52, 10) + bits(1, 1) +
            lonlat(3.0, 51.9) + bits(900, 12) + bits(91, 9) + bits(45, 6) + bits(0, 4) + text('NOORDERLICHT', 20) +
            bits(36, 8) + bits(10, 9) + bits(5, 9) + bits(2, 6) + bits(3, 6) + bits(1, 4) + bits(0, 1) + bits(1, 1) +
            bits(0, 1) + bits(0, 4))


def type21(mmsi, name):
    head = name[:20]
    ext = name[20:]
    b = (bits(21, 6) + bits(0, 2) + bits(mmsi, 30) + bits(13, 5) + text(head, 20) + bits(1, 1) +
         lonlat(4.6, 52.47) + bits(0, 9) + bits(0, 9) + bits(0, 6) + bits(0, 6) + bits(7, 4) + bits(60, 6) +
         bits(0, 1) + bits(0, 8) + bits(0, 1) + bits(1, 1) + bits(0, 1) + bits(0, 1))
    if ext:
        b += text(ext, len(ext))
    return b


def type27(mmsi):
    return (bits(27, 6) + bits(0, 2) + bits(mmsi, 30) + bits(0, 1) + bits(0, 1) + bits(15, 4) + bits(108600, 18) +
            bits(54600, 17) + bits(63, 6) + bits(511, 9) + bits(1, 1) + bits(0, 1))


samples = {
    'type 1, nothing available': lines(type1(244670316, 15, -128, 1023, 0, 108600000, 54600000, 3600, 511, 60)),
    'type 1, south and west': lines(type1(503123456, 5, 0, 0, 1, round(-151.2093 * 600000),
                                          round(-33.8688 * 600000), 0, 0, 59)),
    'type 4': lines(type4(2442000)),
    'type 5, two fragments, seq 7 channel B': lines(type5(235087654, 'G@HX', 'ANNA MARIA', 'ROTTERDAM   '),
                                                    'B', '7'),
    'type 5, three fragments, seq 2 channel 1': lines(type5(235087655, 'MXAB2', 'THREE PARTS', 'LE HAVRE'),
                                                      '1', '2', per=28),
    'type 9': lines(type9(111232511)),
    'type 18, nothing available': lines(type18(338123456, 1023, 108600000, 54600000, 3600, 511)),
    'type 19': lines(type19(244000789)),
    'type 21 with a name extension': lines(type21(992441234, 'NORTH PIER LIGHT BEACON 12')),
    'type 27, nothing available': lines(type27(211000124)),
}

if __name__ == '__main__':
    for what, out in samples.items():
        print('#', what)
        for line in out:
            print(line)
