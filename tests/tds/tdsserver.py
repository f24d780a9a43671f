#!/usr/bin/env python3
"""A small TDS 7.4 server that answers SQL batches from a JSON fixture.

Test equipment: it speaks just enough of the protocol for an ODBC client
(FreeTDS) to log in, run batches, read typed results, see server errors,
time out and cancel, and lose its connection. See README.md next to it.

    tdsserver.py --fixture FILE --record FILE [--port N]

The first line on stdout is the port it listens on (127.0.0.1). It stops when
its stdin is closed, so a test that dies takes its server with it.
"""

import argparse
import datetime
import json
import os
import select
import socket
import socketserver
import struct
import sys
import threading

# Packet types
PT_BATCH, PT_RPC, PT_REPLY, PT_ATTENTION, PT_TRANSACTION, PT_LOGIN7, PT_PRELOGIN = 1, 3, 4, 6, 14, 16, 18
STATUS_EOM = 0x01

# Tokens
TOK_COLMETADATA, TOK_ROW, TOK_ERROR, TOK_INFO, TOK_LOGINACK, TOK_ENVCHANGE, TOK_DONE = \
    0x81, 0xD1, 0xAA, 0xAB, 0xAD, 0xE3, 0xFD
DONE_FINAL, DONE_MORE, DONE_ERROR, DONE_COUNT, DONE_ATTN = 0x00, 0x01, 0x02, 0x10, 0x20
CMD_SELECT = 0xC1

SERVER_NAME = "TDSTEST"
# Latin1_General_CI_AS: LCID 0x0409, case-insensitive, accent-sensitive, sort id 52
COLLATION = bytes([0x09, 0x04, 0xD0, 0x00, 0x34])
DEFAULT_PACKET = 4096
DATETIME_EPOCH = datetime.datetime(1900, 1, 1)

RECORD_LOCK = threading.Lock()
OPTIONS = None
CONNECTIONS = 0


def log(*args):
    print("tdsserver:", *args, file=sys.stderr, flush=True)


# ---------------------------------------------------------------- encoding

def ucs2(text):
    return text.encode("utf-16-le")


def b_varchar(text):
    data = ucs2(text)
    return bytes([len(data) // 2]) + data


def us_varchar(text):
    data = ucs2(text)
    return struct.pack("<H", len(data) // 2) + data


def token(tok, body):
    return bytes([tok]) + struct.pack("<H", len(body)) + body


def done(status=DONE_FINAL, count=0, cmd=0):
    return bytes([TOK_DONE]) + struct.pack("<HHQ", status, cmd, count)


def message(tok, number, text, severity, state=1):
    body = struct.pack("<iBB", number, state, severity) + us_varchar(text) + \
        b_varchar(SERVER_NAME) + b_varchar("") + struct.pack("<i", 1)
    return token(tok, body)


def error(number, text, severity=16, state=1):
    return message(TOK_ERROR, number, text, severity, state)


def info(number, text):
    return message(TOK_INFO, number, text, 0)


def envchange_text(kind, new, old):
    return token(TOK_ENVCHANGE, bytes([kind]) + b_varchar(new) + b_varchar(old))


def envchange_collation():
    return token(TOK_ENVCHANGE, bytes([7, len(COLLATION)]) + COLLATION + bytes([0]))


def change_database(new, old):
    return envchange_text(1, new, old) + \
        info(5701, "Changed database context to '%s'." % new)


# Column types: (type info after the type byte, value encoder)

def enc_int(size, fmt):
    def encode(value):
        if value is None:
            return b"\x00"
        return bytes([size]) + struct.pack(fmt, int(value))
    return encode


def enc_float(value):
    if value is None:
        return b"\x00"
    return b"\x08" + struct.pack("<d", float(value))


def enc_bit(value):
    if value is None:
        return b"\x00"
    return b"\x01" + bytes([1 if value and value != "0" else 0])


def enc_datetime(value):
    if value is None:
        return b"\x00"
    text = str(value)
    when = datetime.datetime.fromisoformat(text.replace("T", " "))
    delta = when - DATETIME_EPOCH
    seconds = delta.seconds + delta.microseconds / 1e6
    ticks = round(seconds * 300)
    days = delta.days
    if ticks >= 24 * 3600 * 300:
        days, ticks = days + 1, 0
    return b"\x08" + struct.pack("<iI", days, ticks)


def enc_nvarchar(value):
    if value is None:
        return b"\xff\xff"
    data = ucs2(str(value))
    if len(data) > 8000:
        raise ValueError("nvarchar value longer than 4000 characters; use nvarchar(max)")
    return struct.pack("<H", len(data)) + data


def enc_nvarchar_max(value):
    if value is None:
        return b"\xff" * 8
    data = ucs2(str(value))
    out = struct.pack("<Q", len(data))
    if data:
        out += struct.pack("<I", len(data)) + data
    return out + struct.pack("<I", 0)


TYPES = {
    "int": (bytes([0x26, 4]), enc_int(4, "<i")),
    "bigint": (bytes([0x26, 8]), enc_int(8, "<q")),
    "bit": (bytes([0x68, 1]), enc_bit),
    "float": (bytes([0x6D, 8]), enc_float),
    "datetime": (bytes([0x6F, 8]), enc_datetime),
    "nvarchar": (bytes([0xE7]) + struct.pack("<H", 8000) + COLLATION, enc_nvarchar),
    "nvarchar(max)": (bytes([0xE7]) + struct.pack("<H", 0xFFFF) + COLLATION, enc_nvarchar_max),
}


def type_of(column):
    # "nvarchar max" is accepted for "nvarchar(max)": ")\"" would end a C++ raw string.
    kind = " ".join(column.get("type", "nvarchar").lower().replace("(", " ").replace(")", " ").split())
    return "nvarchar(max)" if kind == "nvarchar max" else kind


def colmetadata(columns):
    body = struct.pack("<H", len(columns))
    for col in columns:
        typeinfo = TYPES[type_of(col)][0]
        body += struct.pack("<IH", 0, 0x0001) + typeinfo + b_varchar(col.get("name", ""))
    return bytes([TOK_COLMETADATA]) + body


def row(encoders, values):
    out = bytearray([TOK_ROW])
    for encode, value in zip(encoders, values):
        out += encode(value)
    return bytes(out)


def generated_value(kind, name, n):
    if kind in ("int", "bigint"):
        return n
    if kind == "float":
        return n + 0.5
    if kind == "bit":
        return n % 2
    if kind == "datetime":
        return (datetime.datetime(2000, 1, 1) + datetime.timedelta(seconds=n)).isoformat(" ")
    return "%s %d" % (name, n)


# ---------------------------------------------------------------- fixture

def load_fixture():
    try:
        with open(OPTIONS.fixture, encoding="utf-8") as f:
            return json.load(f)
    except (OSError, ValueError) as e:
        log("cannot read fixture:", e)
        return {}


def fixture_logins(fixture):
    logins = {}
    for name, entry in fixture.get("logins", {}).items():
        if isinstance(entry, str):
            entry = {"password": entry}
        logins[name] = entry
    return logins


def fixture_rules(fixture, database):
    entry = fixture.get("databases", {}).get(database, [])
    if isinstance(entry, dict):
        entry = entry.get("rules", [])
    return entry


def find_rule(rules, text):
    for rule in rules:
        match = rule.get("match", "")
        if rule.get("exact") and text == match:
            return rule
        if not rule.get("exact") and match in text:
            return rule
    return None


def record(entry):
    with RECORD_LOCK:
        with open(OPTIONS.record, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry, ensure_ascii=False) + "\n")


# ---------------------------------------------------------------- connection

class Dropped(Exception):
    pass


class Reply:
    """Buffers a reply and sends it in packets of the negotiated size. Packets
    are cut only between tokens, so that a reply broken off by an attention
    still parses."""

    def __init__(self, conn):
        self.conn = conn
        self.buf = bytearray()

    def add(self, data):
        self.buf += data

    def flush_full(self):
        size = self.conn.packet_size - 8
        while len(self.buf) > size:
            self.conn.send_packet(PT_REPLY, 0, bytes(self.buf[:size]))
            del self.buf[:size]

    def finish(self):
        size = self.conn.packet_size - 8
        while len(self.buf) > size:
            self.conn.send_packet(PT_REPLY, 0, bytes(self.buf[:size]))
            del self.buf[:size]
        self.conn.send_packet(PT_REPLY, STATUS_EOM, bytes(self.buf))
        self.buf.clear()
        self.conn.packet_id = 1


class Connection:
    def __init__(self, sock, number):
        self.sock = sock
        self.number = number
        self.spid = 50 + number
        self.packet_size = DEFAULT_PACKET
        self.packet_id = 1
        self.login = None
        self.database = None
        self.batches = 0

    # -- transport

    def recv_exact(self, count):
        data = bytearray()
        while len(data) < count:
            chunk = self.sock.recv(count - len(data))
            if not chunk:
                raise Dropped()
            data += chunk
        return bytes(data)

    def read_packet(self):
        header = self.recv_exact(8)
        kind, status, length = header[0], header[1], struct.unpack(">H", header[2:4])[0]
        return kind, status, self.recv_exact(length - 8)

    def read_message(self):
        kind, status, data = self.read_packet()
        while not status & STATUS_EOM:
            _, status, more = self.read_packet()
            data += more
        return kind, data

    def send_packet(self, kind, status, payload):
        header = struct.pack(">BBHHBB", kind, status, len(payload) + 8, self.spid, self.packet_id & 0xFF, 0)
        self.packet_id += 1
        self.sock.sendall(header + payload)

    def send(self, data):
        reply = Reply(self)
        reply.add(data)
        reply.finish()

    def attention_waiting(self, timeout):
        """True when an attention arrived within `timeout` seconds (it is read)."""
        readable, _, _ = select.select([self.sock], [], [], timeout)
        if not readable:
            return False
        kind, _ = self.read_message()
        if kind != PT_ATTENTION:
            log("unexpected packet type %d while busy" % kind)
        return True

    # -- protocol

    def serve(self):
        kind, data = self.read_message()
        if kind != PT_PRELOGIN:
            log("expected PRELOGIN, got packet type %d" % kind)
            return
        self.send(prelogin_reply())
        kind, data = self.read_message()
        if kind != PT_LOGIN7:
            log("expected LOGIN7, got packet type %d (does the client want TLS?)" % kind)
            return
        fixture = load_fixture()
        if fixture.get("silent"):
            # Accepts and never answers: the client's login time-out must end it.
            while self.sock.recv(4096):
                pass
            return
        if not self.handle_login(fixture, data):
            return
        while True:
            kind, data = self.read_message()
            if kind == PT_BATCH:
                self.handle_batch(data)
            elif kind == PT_ATTENTION:
                self.send(done(DONE_ATTN))
            else:
                log("packet type %d not handled; answered with DONE" % kind)
                record({"connection": self.number, "database": self.database, "login": self.login,
                        "text": "", "packet": kind, "driver": True})
                self.send(done())

    def handle_login(self, fixture, data):
        size = struct.unpack("<I", data[8:12])[0]

        def field(offset):
            start, count = struct.unpack("<HH", data[offset:offset + 4])
            return data[start:start + count * 2]

        user = field(40).decode("utf-16-le")
        password = bytes(((b ^ 0xA5) << 4 & 0xF0) | ((b ^ 0xA5) >> 4) for b in field(44)).decode("utf-16-le")
        database = field(68).decode("utf-16-le")
        logins = fixture_logins(fixture)
        account = logins.get(user)
        if account is None or account.get("password", "") != password:
            self.send(error(18456, "Login failed for user '%s'." % user, 14) + done(DONE_ERROR))
            return False
        databases = fixture.get("databases", {})
        if not database:
            database = account.get("database") or next(iter(databases), "master")
        if database not in databases:
            self.send(error(4060, 'Cannot open database "%s" requested by the login. The login failed.'
                            % database, 11)
                      + error(18456, "Login failed for user '%s'." % user, 14) + done(DONE_ERROR))
            return False
        if 512 <= size <= 32767:
            self.packet_size = size
        self.login, self.database = user, database
        loginack = token(TOK_LOGINACK, bytes([1]) + bytes([0x74, 0x00, 0x00, 0x04]) +
                         b_varchar("Microsoft SQL Server") + bytes([16, 0, 0x07, 0xD0]))
        self.send(change_database(database, "master") + envchange_collation() +
                  envchange_text(2, "us_english", "") +
                  info(5703, "Changed language setting to us_english.") + loginack +
                  envchange_text(4, str(self.packet_size), str(self.packet_size)) + done())
        return True

    def handle_batch(self, data):
        headers = struct.unpack("<I", data[:4])[0] if len(data) >= 4 else 0
        if headers < 4 or headers > len(data):
            headers = 0
        text = data[headers:].decode("utf-16-le", errors="replace")
        self.batches += 1
        fixture = load_fixture()
        rule = find_rule(fixture_rules(fixture, self.database), text)
        driver = rule is None and self.batches == 1 and is_setup_batch(text)
        record({"connection": self.number, "database": self.database, "login": self.login,
                "text": text, "driver": driver})
        if rule is not None:
            self.answer_rule(rule)
        elif driver:
            self.answer_setup(text)
        else:
            self.answer_builtin(text, fixture)

    def answer_rule(self, rule):
        if rule.get("drop"):
            self.sock.shutdown(socket.SHUT_RDWR)
            raise Dropped()
        stall = float(rule.get("stall", 0))
        if stall > 0 and self.attention_waiting(stall):
            self.send(done(DONE_ATTN))
            return
        reply = Reply(self)
        failing = "error" in rule
        if "columns" in rule and rule.get("rowcount") is not None:
            # A statement before the query, as in "update ...; select ...".
            reply.add(done(DONE_COUNT | DONE_MORE, int(rule["rowcount"])))
        if "columns" in rule:
            if not self.stream_rows(reply, rule, more=failing):
                return
        if failing:
            err = rule["error"]
            reply.add(error(int(err.get("number", 50000)), err.get("message", ""),
                            int(err.get("severity", 16)), int(err.get("state", 1))))
            reply.add(done(DONE_ERROR))
        elif "columns" not in rule:
            count = rule.get("rowcount")
            reply.add(done(DONE_COUNT, int(count)) if count is not None else done())
        reply.finish()

    def stream_rows(self, reply, rule, more):
        """Adds a result set to `reply`; False when an attention ended it (and was answered)."""
        columns = rule["columns"]
        kinds = [type_of(c) for c in columns]
        encoders = [TYPES[k][1] for k in kinds]
        reply.add(colmetadata(columns))
        count = 0
        generate = int(rule.get("generate", 0))
        values = (([generated_value(k, c.get("name", ""), n) for k, c in zip(kinds, columns)]
                   for n in range(1, generate + 1)) if generate else rule.get("rows", []))
        for values_of_row in values:
            reply.add(row(encoders, values_of_row))
            count += 1
            if len(reply.buf) > self.packet_size:
                if self.attention_waiting(0):
                    reply.add(done(DONE_ATTN))
                    reply.finish()
                    return False
                reply.flush_full()
        reply.add(done(DONE_COUNT | (DONE_MORE if more else 0), count, CMD_SELECT))
        return True

    def answer_setup(self, text):
        reply = Reply(self)
        for line in text.splitlines():
            upper = line.strip().upper()
            if upper.startswith("SELECT @@SPID"):
                reply.add(colmetadata([{"name": "spid", "type": "int"}]) +
                          row([TYPES["int"][1]], [self.spid]) + done(DONE_COUNT | DONE_MORE, 1, CMD_SELECT))
            elif upper.startswith("USE "):
                reply.add(self.use(line.strip()[4:], final=False))
            elif upper:
                reply.add(done(DONE_MORE))
        reply.add(done())
        reply.finish()

    def use(self, name, final=True):
        name = name.strip().rstrip(";").strip()
        if name.startswith("[") and name.endswith("]"):
            name = name[1:-1].replace("]]", "]")
        if name not in load_fixture().get("databases", {}):
            return error(911, "Database '%s' does not exist. Make sure that the name is entered correctly."
                         % name) + done(DONE_ERROR | (0 if final else DONE_MORE))
        old, self.database = self.database, name
        return change_database(name, old) + done(DONE_FINAL if final else DONE_MORE)

    def answer_builtin(self, text, fixture):
        plain = " ".join(text.split()).lower()
        if plain in ("select db_name()", "select db_name();"):
            self.send(colmetadata([{"name": "", "type": "nvarchar"}]) +
                      row([enc_nvarchar], [self.database]) + done(DONE_COUNT, 1, CMD_SELECT))
        elif plain.startswith("use ") and "\n" not in text.strip():
            self.send(self.use(text.strip()[4:]))
        else:
            self.send(done())


def is_setup_batch(text):
    """What the driver sends by itself right after login: lines that each end in LF."""
    if "\r" in text or not text.endswith("\n"):
        return False
    lines = [line.strip().upper() for line in text.splitlines() if line.strip()]
    return bool(lines) and all(line.startswith(("SET TEXTSIZE", "SELECT @@SPID", "USE ")) for line in lines)


def prelogin_reply():
    options = [(0, bytes([16, 0, 0x07, 0xD0, 0, 0])),  # version 16.0.2000
               (1, bytes([2])),                         # ENCRYPT_NOT_SUP
               (2, bytes([0])),                         # instance: ok
               (4, bytes([0]))]                         # MARS off
    offset = len(options) * 5 + 1
    head, body = bytearray(), bytearray()
    for kind, value in options:
        head += struct.pack(">BHH", kind, offset + len(body), len(value))
        body += value
    return bytes(head) + b"\xff" + bytes(body)


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        global CONNECTIONS
        with RECORD_LOCK:
            CONNECTIONS += 1
            number = CONNECTIONS
        self.request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        try:
            Connection(self.request, number).serve()
        except (Dropped, ConnectionError, OSError):
            pass
        except Exception as e:  # a fixture mistake must not end the server
            log("connection %d failed: %r" % (number, e))


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global OPTIONS
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--fixture", required=True)
    parser.add_argument("--record", required=True)
    parser.add_argument("--port", type=int, default=0)
    OPTIONS = parser.parse_args()
    server = Server(("127.0.0.1", OPTIONS.port), Handler)
    print(server.server_address[1], flush=True)

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
