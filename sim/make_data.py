#!/usr/bin/env python3
"""Writes the initial state of each simulated model to sim/data/kms-7300-<model>.snmprec.

The snmprec files are the source of truth and may be edited by hand; this script produced their
first version and keeps the two models alike. Values the simulator derives at run time (link and
speed columns, PoE measurements and status texts, sysUpTime) are written here too, as they stand
when the device starts. Run: python3 sim/make_data.py
"""
import os

V = "1.3.6.1.4.1.32473.10.75.13"
C = "1.3.6.1.4.1.32473.99"
MIB2 = "1.3.6.1.2.1"
LLDP = "1.0.8802.1.1.2"
SYS_MAC = [0x02, 0x4B, 0x4D, 0x73, 0x00, 0x00]
PREFIX = "  "  # two characters in front of every PoE status text


def hexs(bs):
    return "".join("%02x" % b for b in bs)


def portlist(ports, n):
    size = 4 if n <= 32 else ((n + 63) // 64) * 8
    b = [0] * size
    for p in ports:
        b[(p - 1) // 8] |= 0x80 >> ((p - 1) % 8)
    return b


def name_index(s):
    return ".".join([str(len(s))] + [str(ord(c)) for c in s])


class Rec:
    def __init__(self):
        self.lines = []

    def i(self, oid, v):
        self.lines.append((oid, "2", str(v)))

    def s(self, oid, v):
        self.lines.append((oid, "4", v))

    def x(self, oid, bs):
        self.lines.append((oid, "4x", hexs(bs)))

    def ip(self, oid, v):
        self.lines.append((oid, "64", v))

    def oid(self, oid, v):
        self.lines.append((oid, "6", v))

    def c32(self, oid, v):
        self.lines.append((oid, "65", str(v)))

    def g32(self, oid, v):
        self.lines.append((oid, "66", str(v)))

    def t(self, oid, v):
        self.lines.append((oid, "67", str(v)))

    def write(self, path, header):
        def key(line):
            return [int(x) for x in line[0].split(".")]

        with open(path, "w") as f:
            f.write(header)
            for oid, typ, val in sorted(self.lines, key=key):
                f.write("%s|%s|%s\n" % (oid, typ, val))


def model(name, n, poe_ports, medium):
    r = Rec()
    top = [100 if medium[p - 1] in (1, 3) else 1000 for p in range(1, n + 1)]
    # Physical state: cables, link partners, powered devices.
    link = {p: (1 if p <= 5 else 2) for p in range(1, n + 1)}
    partner = {p: (1000 if p in (1, 2) else 100 if p in (3, 4) else 1000) for p in range(1, n + 1)}
    speed_cfg = {p: 6 for p in range(1, n + 1)}
    speed_cfg[5] = 7  # administratively down
    for p in range(1, n + 1):
        if medium[p - 1] == 3:
            speed_cfg[p] = 2
    poe_text = {}
    draw = {}
    for p in range(1, poe_ports + 1):
        poe_text[p] = {1: "POWER ON", 2: "POWER ON", 3: "POWER ON", 4: "POWER ON", 6: "Time-based OFF",
                       7: "OVERLOAD"}.get(p, "POWER OFF")
        draw[p] = {1: 6, 2: 4, 3: 7, 4: 3}.get(p, 0)
    poe_state = {p: (2 if p == 8 else 1) for p in range(1, poe_ports + 1)}

    def oper(p):
        return speed_cfg[p] != 7 and link[p] == 1

    def speed(p):
        c = speed_cfg[p]
        if c == 1:
            return 1000
        if c in (2, 3):
            return 100
        if c in (4, 5):
            return 10
        return min(partner[p], top[p - 1])

    desc = "%s %d-Port %s Managed Switch" % (name, n, "Gigabit PoE" if n == 8 else "Fast Ethernet PoE")
    # System group.
    r.s(MIB2 + ".1.1.0", desc)
    r.oid(MIB2 + ".1.2.0", "1.3.6.1.4.1.32473.10.75.1.%d" % n)
    r.t(MIB2 + ".1.3.0", 0)
    r.s(MIB2 + ".1.4.0", "network administrator")
    r.s(MIB2 + ".1.5.0", name)
    r.s(MIB2 + ".1.6.0", "Lab rack 1")
    r.i(MIB2 + ".1.7.0", 2)

    # Interfaces: the ports, then the CPU interface and the management VLAN interface.
    ifs = list(range(1, n + 3))
    r.i(MIB2 + ".2.1.0", len(ifs))
    for k in ifs:
        e = MIB2 + ".2.2.1.%d.%d"
        port = k <= n
        r.i(e % (1, k), k)
        r.s(e % (2, k), ("Port %d" % k) if port else ("CPU Interface" if k == n + 1 else "VLAN 1"))
        r.i(e % (3, k), 6 if port else (1 if k == n + 1 else 135))
        r.i(e % (4, k), 1518 if port else 1500)
        r.g32(e % (5, k), speed(k) * 1000000 if port and oper(k) else (0 if port else 1000000000))
        mac = SYS_MAC[:5] + [k if port else 0]
        r.x(e % (6, k), mac)
        r.i(e % (7, k), (2 if speed_cfg[k] == 7 else 1) if port else 1)
        r.i(e % (8, k), (1 if oper(k) else 2) if port else 1)
        r.t(e % (9, k), 0)
        traffic = 1000 * (n + 3 - k) if (not port or oper(k)) else 0
        r.c32(e % (10, k), traffic * 731)
        r.c32(e % (11, k), traffic)
        r.c32(e % (12, k), traffic // 20)
        r.c32(e % (13, k), 0)
        r.c32(e % (14, k), 0)
        r.c32(e % (15, k), 0)
        r.c32(e % (16, k), traffic * 512)
        r.c32(e % (17, k), traffic * 3 // 4)
        r.c32(e % (18, k), traffic // 40)
        r.c32(e % (19, k), 0)
        r.c32(e % (20, k), 0)
        r.g32(e % (21, k), 0)
        r.oid(e % (22, k), "0.0")

    # IP addresses, TCP connections, UDP listeners.
    for addr, ifx, mask in (("127.0.0.1", n + 1, "255.0.0.0"), ("192.168.0.1", n + 2, "255.255.255.0")):
        e = MIB2 + ".4.20.1.%d." + addr
        r.ip(e % 1, addr)
        r.i(e % 2, ifx)
        r.ip(e % 3, mask)
        r.i(e % 4, 1)
        r.i(e % 5, 65535)
    tcp = [("0.0.0.0", 23, "0.0.0.0", 0, 2), ("0.0.0.0", 80, "0.0.0.0", 0, 2),
           ("192.168.0.1", 23, "192.168.0.100", 51514, 5), ("192.168.0.1", 80, "192.168.0.100", 51730, 11)]
    for la, lp, ra, rp, st in tcp:
        idx = "%s.%d.%s.%d" % (la, lp, ra, rp)
        e = MIB2 + ".6.13.1.%d." + idx
        r.i(e % 1, st)
        r.ip(e % 2, la)
        r.i(e % 3, lp)
        r.ip(e % 4, ra)
        r.i(e % 5, rp)
    for la, lp in (("0.0.0.0", 68), ("0.0.0.0", 161), ("0.0.0.0", 514)):
        e = MIB2 + ".7.5.1.%d." + "%s.%d" % (la, lp)
        r.ip(e % 1, la)
        r.i(e % 2, lp)

    # Bridge: base, spanning tree (this bridge is the root), forwarding database.
    root = [0x80, 0x00] + SYS_MAC
    r.x(MIB2 + ".17.1.1.0", SYS_MAC)
    r.i(MIB2 + ".17.1.2.0", n)
    r.i(MIB2 + ".17.1.3.0", 2)
    for p in range(1, n + 1):
        r.i(MIB2 + ".17.1.4.1.1.%d" % p, p)
        r.i(MIB2 + ".17.1.4.1.2.%d" % p, p)
    s = MIB2 + ".17.2."
    r.i(s + "1.0", 3)
    r.i(s + "2.0", 32768)
    r.t(s + "3.0", 0)
    r.c32(s + "4.0", 3)
    r.x(s + "5.0", root)
    r.i(s + "6.0", 0)
    r.i(s + "7.0", 0)
    r.i(s + "8.0", 2000)
    r.i(s + "9.0", 200)
    r.i(s + "10.0", 100)
    r.i(s + "11.0", 1500)
    r.i(s + "12.0", 2000)
    r.i(s + "13.0", 200)
    r.i(s + "14.0", 1500)
    for p in range(1, n + 1):
        e = s + "15.1.%d." + str(p)
        ref = speed(p) if oper(p) else top[p - 1]
        r.i(e % 1, p)
        r.i(e % 2, 128)
        r.i(e % 3, 5 if oper(p) else 1)
        r.i(e % 4, 1)
        r.i(e % 5, 20000 if ref >= 1000 else 200000 if ref >= 100 else 2000000)
        r.x(e % 6, root)
        r.i(e % 7, 0)
        r.x(e % 8, root)
        r.x(e % 9, [0x80, p])
        r.c32(e % 10, 1 if oper(p) else 0)
    r.i(MIB2 + ".17.4.2.0", 300)
    fdb = [([0x00, 0x11, 0x22, 0x33, 0x44, 0x55], 1, 3), ([0x00, 0x11, 0x22, 0x33, 0x44, 0x56], 1, 3),
           ([0x00, 0x1E, 0x06, 0x01, 0x02, 0x03], 2, 3), ([0x00, 0x50, 0x56, 0xAB, 0xCD, 0xEF], 3, 3),
           ([0x00, 0x50, 0x56, 0x0C, 0x22, 0x38], 4, 3), ([0x00, 0x01, 0x02, 0x03, 0x04, 0x05], 6, 5),
           (SYS_MAC, 0, 4)]
    for mac, port, st in fdb:
        idx = "1." + ".".join(str(b) for b in mac)
        r.i(MIB2 + ".17.7.1.2.2.1.2." + idx, port)
        r.i(MIB2 + ".17.7.1.2.2.1.3." + idx, st)

    # LLDP: local system and four neighbours on ports 1 to 3, with chassis IDs of several subtypes. The
    # neighbours live in the control subtree (.7.1.1); the device derives lldpRemTable from them.
    r.i(LLDP + ".1.3.1.0", 4)
    r.x(LLDP + ".1.3.2.0", SYS_MAC)
    r.s(LLDP + ".1.3.3.0", name)
    r.s(LLDP + ".1.3.4.0", desc)
    rem = [(1, 1, 4, [0x00, 0x11, 0x22, 0x33, 0x44, 0x55], 5, b"gi0/1", "GigabitEthernet0/1", "core-sw1",
            "Core switch, building A"),
           (2, 1, 7, list(b"ap-lobby-07"), 7, b"1", "uplink", "ap-lobby", "Wireless access point"),
           (3, 1, 4, [0x02, 0x11, 0x22, 0x33, 0x44, 0x55], 3, bytes([0x02, 0x11, 0x22, 0x33, 0x44, 0x56]),
            "Port 1", "ipphone-214", "IP phone"),
           (3, 2, 5, [0x01, 0xC0, 0xA8, 0x00, 0x0A], 7, b"eth0", "Camera uplink", "ipcam-lobby",
            "IP camera 1080p")]
    for lport, ridx, csub, cid, psub, pid, pdesc, sname, sdesc in rem:
        for e in (LLDP + ".1.4.1.1.%d." + "0.%d.%d" % (lport, ridx), C + ".7.1.1.%d." + "%d.%d" % (lport, ridx)):
            r.i(e % 4, csub)
            r.x(e % 5, cid)
            r.i(e % 6, psub)
            r.x(e % 7, list(pid))
            r.s(e % 8, pdesc)
            r.s(e % 9, sname)
            r.s(e % 10, sdesc)
        r.i(C + ".7.1.1.1.%d.%d" % (lport, ridx), 1)
    r.i(C + ".7.2.1.0", 4)
    r.x(C + ".7.2.2.0", SYS_MAC)

    # Vendor MIB.
    r.i(V + ".1.9.0", 0)
    r.i(V + ".1.10.0", 0)
    for p in range(1, n + 1):
        e = V + ".1.13.1.%d." + str(p)
        r.i(e % 1, p)
        r.i(e % 2, speed_cfg[p])
        sp = speed(p)
        r.i(e % 3, 0 if not oper(p) else {1000: 1, 100: 2, 10: 4}[sp])
        r.i(e % 5, 2)
        r.i(e % 6, 2)
        r.i(e % 7, medium[p - 1])
    r.i(V + ".1.15.1.0", 1)
    for base in (1, 5):
        r.ip(V + ".3.%d.0" % base, "0.0.0.0")
        r.s(V + ".3.%d.0" % (base + 1), "")
        r.i(V + ".3.%d.0" % (base + 2), 0)
        r.i(V + ".3.%d.0" % (base + 3), 0)
    r.i(V + ".6.1.1.0", 1)
    r.i(V + ".6.1.2.0", 2)
    for p in range(1, n + 1):
        e = V + ".6.2.1.%d." + str(p)
        r.i(e % 1, p)
        for col, val in ((2, 128), (4, 2), (5, 0), (14, 2), (16, 1), (17, 2), (18, 1)):
            r.i(e % col, val)
    # VLANs: 1 (every port, all but the last two untagged) and 10 "video" (the last four ports).
    r.i(V + ".7.5.0", 2)
    vlans = [(1, "default", list(range(1, n + 1)), list(range(1, n - 1))),
             (10, "video", list(range(n - 3, n + 1)), [n - 1, n])]
    for vid, vname, egress, untagged in vlans:
        e = V + ".7.6.1.%d." + str(vid)
        r.s(e % 1, vname)
        r.x(e % 2, portlist(egress, n))
        r.x(e % 3, portlist([], n))
        r.x(e % 4, portlist(untagged, n))
        r.i(e % 5, 1)
    for p in range(1, n + 1):
        r.g32(V + ".7.7.1.1.%d" % p, 10 if p >= n - 1 else 1)
    # Link aggregation: enabled, eight static trunks without members.
    r.i(V + ".8.1.2.0", 1)
    for t in range(1, 9):
        r.i(V + ".8.1.3.1.1.%d" % t, t)
        r.x(V + ".8.1.3.1.2.%d" % t, portlist([], n))
        r.i(V + ".8.1.3.1.3.%d" % t, 2)
    r.x(V + ".9.2.0", portlist(range(1, n + 1), n))
    fidx = "1.0.1.2.3.4.5"
    r.i(V + ".9.3.1.1." + fidx, 1)
    r.x(V + ".9.3.1.2." + fidx, [0, 1, 2, 3, 4, 5])
    r.i(V + ".9.3.1.3." + fidx, 6)
    # 802.1X.
    r.ip(V + ".11.1.1.0", "192.168.0.200")
    r.s(V + ".11.1.2.0", "radiuskey")
    for col, val in ((1, 2), (2, 60), (3, 30), (4, 30), (5, 30), (6, 2), (8, 2)):
        r.i(V + ".11.2.%d.0" % col, val)
    r.g32(V + ".11.2.7.0", 3600)
    for p in range(1, n + 1):
        r.i(V + ".11.2.9.1.1.%d" % p, p)
        r.i(V + ".11.2.9.1.2.%d" % p, 3)
        r.i(V + ".11.2.9.1.3.%d" % p, 1)
    for p in range(1, n + 1):
        r.i(V + ".12.3.1.1.1.%d" % p, p)
        r.i(V + ".12.3.1.1.2.%d" % p, 0)
        r.i(V + ".13.1.2.1.1.%d" % p, p)
        r.i(V + ".13.1.2.1.2.%d" % p, 0)
        r.i(V + ".13.1.2.1.3.%d" % p, 0)
        r.i(V + ".14.2.1.1.1.%d" % p, p)
        r.i(V + ".14.2.1.1.2.%d" % p, 2)
    arp = "192.168.0.254"
    r.ip(V + ".14.3.1.1.1." + arp, arp)
    r.x(V + ".14.3.1.1.2." + arp, [0x00, 0x1E, 0x06, 0xAA, 0xBB, 0xCC])
    r.x(V + ".14.3.1.1.3." + arp, portlist([n], n))
    r.i(V + ".14.3.1.1.4." + arp, 1)
    r.x(V + ".14.7.1.0", portlist([], n))
    r.i(V + ".15.2.1.1.1.1", 1)
    r.x(V + ".15.2.1.1.10.1", portlist([n - 1], n))
    # Syslog.
    r.ip(V + ".16.1.1.0", "192.168.0.100")
    r.i(V + ".16.1.2.0", 514)
    r.i(V + ".16.1.4.0", 6)
    r.i(V + ".16.1.5.0", 128)
    r.i(V + ".16.1.6.0", 2)
    for p in range(1, n + 1):
        r.i(V + ".17.4.1.2.%d" % p, 2)
    r.i(V + ".18.1.0", 2)
    r.i(V + ".18.2.0", n)
    r.x(V + ".18.3.0", portlist([], n))
    r.x(V + ".18.4.0", portlist([], n))
    r.i(V + ".21.1.2.0", 2)
    r.i(V + ".21.1.3.0", 0)
    for p in range(1, n + 1):
        r.i(V + ".21.1.6.1.2.%d" % p, 2)
    # PoE ports (instance .1.p).
    for p in range(1, poe_ports + 1):
        e = V + ".22.1.1.%d.1." + str(p)
        text = poe_text[p] if poe_state[p] == 1 else "POWER OFF"
        on = text == "POWER ON"
        r.i(e % 1, 1)
        r.i(e % 2, p)
        r.i(e % 3, poe_state[p])
        r.i(e % 4, 1 if p == 6 else 0)
        r.i(e % 5, 3 if p == 1 else 2)
        r.i(e % 6, 1)
        r.i(e % 7, 1 if p == 3 else 2)
        r.s(e % 8, "12.0" if p == 3 else "15.4")
        r.i(e % 9, draw[p] if on else 0)
        r.i(e % 10, 53 if on else 0)
        r.i(e % 11, draw[p] * 1000 // 53 if on else 0)
        r.i(e % 12, {1: 2, 2: 1, 3: 3, 4: 0}.get(p, 0))
        r.s(e % 13, PREFIX + text)
    r.s(V + ".22.6.0", "45.2")
    # Time ranges.
    ranges = [(1, "office-hours", 2, (2009, 1, 1), (8, 0), (2009, 1, 1), (18, 0), [1, 1, 1, 1, 1, 2, 2]),
              (2, "weekend", 1, (2026, 1, 1), (0, 0), (2026, 12, 31), (23, 59), [2, 2, 2, 2, 2, 1, 1])]
    for idx, rname, use_date, frm, start, to, end, days in ranges:
        e = V + ".23.1.1.%d." + str(idx)
        vals = [idx, None, use_date, frm[0], frm[1], frm[2], start[0], start[1], to[0], to[1], to[2], end[0],
                end[1]] + days + [1]
        for col, val in enumerate(vals, start=1):
            if col == 2:
                r.s(e % 2, rname)
            else:
                r.i(e % col, val)
    # LLDP settings.
    for col, val in ((1, 1), (2, 4), (3, 30), (4, 2), (5, 2)):
        r.i(V + ".24.%d.0" % col, val)
    for p in range(1, 5):
        r.i(V + ".24.7.1.1.%d" % p, p)
        r.i(V + ".24.7.1.2.%d" % p, 2)
    # The switch's own SNMP agent settings.
    r.i(V + ".25.1.0", 1)
    users = [("rdview", 1, "ReadGroup", 1, 1), ("rdview", 2, "ReadGroup", 1, 1), ("wrview", 1, "WriteGroup", 1, 1),
             ("wrview", 2, "WriteGroup", 1, 1), ("kmssha", 3, "WriteGroup", 3, 1), ("kmsshades", 3, "WriteGroup", 3, 2)]
    for uname, ver, group, auth, priv in users:
        e = V + ".25.2.1.1.%d." + name_index(uname) + "." + str(ver)
        r.s(e % 1, uname)
        r.i(e % 2, ver)
        r.s(e % 3, group)
        r.i(e % 4, auth)
        r.s(e % 5, "")
        r.i(e % 6, priv)
        r.s(e % 7, "")
        r.i(e % 8, 1)
    groups = [("ReadGroup", 1, 1, "ReadView", "", "ReadView"), ("ReadGroup", 2, 1, "ReadView", "", "ReadView"),
              ("WriteGroup", 1, 1, "WriteView", "WriteView", "WriteView"),
              ("WriteGroup", 2, 1, "WriteView", "WriteView", "WriteView"),
              ("WriteGroup", 3, 2, "WriteView", "WriteView", "WriteView"),
              ("WriteGroup", 3, 3, "WriteView", "WriteView", "WriteView")]
    for gname, mdl, lvl, rv, wv, nv in groups:
        e = V + ".25.3.1.1.%d." + name_index(gname) + ".%d.%d" % (mdl, lvl)
        r.s(e % 1, gname)
        r.i(e % 2, mdl)
        r.i(e % 3, lvl)
        r.s(e % 4, rv)
        r.s(e % 5, wv)
        r.s(e % 6, nv)
        r.i(e % 7, 1)
    views = [("ReadView", "1.3.6.1", [], 1), ("ReadView", "1.3.6.1.4.1.32473.10.75.13.25", [], 2),
             ("WriteView", "1.3.6.1", [1, 1, 1, 1], 1)]
    for vname, sub, mask, typ in views:
        parts = sub.split(".")
        e = V + ".25.4.1.1.%d." + name_index(vname) + ".%d.%s" % (len(parts), sub)
        r.s(e % 1, vname)
        r.oid(e % 2, sub)
        r.x(e % 3, mask)
        r.i(e % 4, typ)
        r.i(e % 5, 1)
    for cname, uname in (("rdcomm", "rdview"), ("wrcomms", "wrview")):
        e = V + ".25.5.1.1.%d." + name_index(cname)
        r.s(e % 1, cname)
        r.s(e % 2, uname)
        r.i(e % 3, 1)
    host = "192.168.0.100"
    r.ip(V + ".25.6.1.1.1." + host, host)
    r.s(V + ".25.6.1.1.2." + host, "trapcomm")
    r.i(V + ".25.6.1.1.3." + host, 2)
    r.i(V + ".25.6.1.1.4." + host, 1)
    r.x(V + ".25.7.0", [0x80, 0x00, 0x08, 0x1C, 0x04, 0x46, 0x53])
    for t, val in enumerate([1, 1, 2, 1, 1, 1, 1, 1, 1], start=1):
        r.i(V + ".25.8.%d.0" % t, val)
    # Surveillance VLAN and its OUI table.
    r.i(V + ".26.1.1.0", 2)
    r.i(V + ".26.1.2.0", 10)
    r.i(V + ".26.1.3.0", 0)
    for p in range(1, n + 1):
        r.i(V + ".26.1.5.1.1.%d" % p, p)
        r.i(V + ".26.1.5.1.2.%d" % p, 2)
        r.i(V + ".26.1.5.1.3.%d" % p, 1)
    oui = [0x5A, 0xC2, 0x91, 0, 0, 0]
    e = V + ".26.2.1.1.%d." + ".".join(str(b) for b in oui)
    r.x(e % 1, oui)
    r.s(e % 2, "Veltra Surveillance")
    r.x(e % 3, [0xFF, 0xFF, 0xFF, 0, 0, 0])
    r.i(e % 4, 5)
    r.i(e % 5, 1)
    for p in range(1, n + 1):
        r.i(V + ".28.1.1.1.%d" % p, p)
        r.i(V + ".28.1.1.2.%d" % p, 1)

    # Control subtree: the physical state and the simulator's knobs.
    for p in range(1, n + 1):
        e = C + ".1.1.%d." + str(p)
        r.i(e % 1, p)
        r.i(e % 2, link[p])
        r.i(e % 3, partner[p])
        r.s(e % 4, poe_text.get(p, "POWER OFF"))
        r.i(e % 5, draw.get(p, 0))
    r.s(C + ".2.1.0", "45.2")
    r.i(C + ".2.2.0", 1)
    for col in (3, 4, 5, 6, 11):
        r.i(C + ".2.%d.0" % col, 0)
    for col in (7, 8, 9, 10, 13, 14):
        r.c32(C + ".2.%d.0" % col, 0)
    r.i(C + ".2.12.0", 2)
    r.i(C + ".2.15.0", 3)
    r.s(C + ".6.1.0", "")
    r.i(C + ".9.1.0", 3)
    r.i(C + ".9.2.0", 2)
    r.i(C + ".9.3.0", 1000)
    for col in range(16, 23):
        r.i(C + ".2.%d.0" % col, 0)
    r.s(C + ".2.23.0", "")
    r.i(C + ".2.24.0", 0)
    r.i(C + ".2.25.0", 1)
    r.i(C + ".10.1.0", 0)
    return r


def main():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")
    header = ("# kms-sim initial state of the %s: OID|TYPE|VALUE, TYPE the BER tag (2 INTEGER, 4 OCTET STRING,\n"
              "# 4x hex OCTET STRING, 6 OBJECT IDENTIFIER, 64 IpAddress, 65 Counter32, 66 Gauge32, 67 TimeTicks).\n")
    model("KMS-7300-08E", 8, 8, [0] * 8).write(os.path.join(here, "kms-7300-08e.snmprec"), header % "KMS-7300-08E")
    medium = [1] * 24 + [0, 0, 4, 3]
    model("KMS-7300-28E", 28, 24, medium).write(os.path.join(here, "kms-7300-28e.snmprec"), header % "KMS-7300-28E")


if __name__ == "__main__":
    main()
