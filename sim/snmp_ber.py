"""Just enough BER to read SNMP v1/v2c messages and to write the few the simulator needs.

Standard library only. Decoding errors raise ValueError.
"""

GET_REQUEST = 0xA0
GET_NEXT_REQUEST = 0xA1
GET_RESPONSE = 0xA2
SET_REQUEST = 0xA3
GET_BULK_REQUEST = 0xA5

PDU_NAMES = {
    GET_REQUEST: "GET",
    GET_NEXT_REQUEST: "GETNEXT",
    GET_RESPONSE: "RESPONSE",
    SET_REQUEST: "SET",
    GET_BULK_REQUEST: "GETBULK",
    0xA6: "INFORM",
    0xA7: "TRAP",
    0xA8: "REPORT",
}

GEN_ERR = 5


def read_tlv(data, pos, end=None):
    """Returns (tag, value_start, value_end) of the element at pos."""
    if end is None:
        end = len(data)
    if pos + 2 > end:
        raise ValueError("truncated element")
    tag = data[pos]
    length = data[pos + 1]
    pos += 2
    if length & 0x80:
        count = length & 0x7F
        if count == 0 or count > 4 or pos + count > end:
            raise ValueError("bad length")
        length = int.from_bytes(data[pos:pos + count], "big")
        pos += count
    if pos + length > end:
        raise ValueError("element runs past its container")
    return tag, pos, pos + length


def encode_length(length):
    if length < 0x80:
        return bytes([length])
    raw = length.to_bytes((length.bit_length() + 7) // 8, "big")
    return bytes([0x80 | len(raw)]) + raw


def tlv(tag, value):
    return bytes([tag]) + encode_length(len(value)) + value


def encode_integer(value):
    length = max(1, (value.bit_length() + 8) // 8)
    return tlv(0x02, value.to_bytes(length, "big", signed=True))


def decode_integer(raw):
    return int.from_bytes(raw, "big", signed=True) if raw else 0


def encode_oid(text):
    parts = [int(p) for p in text.strip().lstrip(".").split(".")]
    if len(parts) < 2:
        raise ValueError("OID too short")
    body = bytearray([parts[0] * 40 + parts[1]])
    for part in parts[2:]:
        chunk = [part & 0x7F]
        part >>= 7
        while part:
            chunk.append(0x80 | (part & 0x7F))
            part >>= 7
        body.extend(reversed(chunk))
    return tlv(0x06, bytes(body))


def decode_oid(raw):
    if not raw:
        raise ValueError("empty OID")
    first = raw[0]
    parts = [min(first // 40, 2), first - 40 * min(first // 40, 2)]
    value = 0
    for byte in raw[1:]:
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            parts.append(value)
            value = 0
    return "." + ".".join(str(p) for p in parts)


def decode_value(tag, raw):
    """Returns (kind, python value)."""
    if tag == 0x02:
        return "integer", decode_integer(raw)
    if tag == 0x04:
        return "octets", bytes(raw)
    if tag == 0x05:
        return "null", None
    if tag == 0x06:
        return "oid", decode_oid(raw)
    if tag in (0x41, 0x42, 0x43, 0x46):
        return "unsigned", int.from_bytes(raw, "big")
    if tag == 0x40 and len(raw) == 4:
        return "ipaddress", ".".join(str(b) for b in raw)
    if tag in (0x80, 0x81, 0x82):
        return "exception", tag
    return "other", bytes(raw)


class Message:
    """One decoded SNMP message; keeps the raw parts needed to answer it."""

    def __init__(self, data):
        data = bytes(data)
        tag, start, end = read_tlv(data, 0)
        if tag != 0x30:
            raise ValueError("not a sequence")
        tag, vs, ve = read_tlv(data, start, end)
        if tag != 0x02:
            raise ValueError("no version")
        self.version = decode_integer(data[vs:ve])
        self.version_raw = data[start:ve]
        tag, cs, ce = read_tlv(data, ve, end)
        if tag != 0x04:
            raise ValueError("no community")
        self.community = data[cs:ce]
        self.community_raw = data[ve:ce]
        tag, ps, pe = read_tlv(data, ce, end)
        if tag not in PDU_NAMES:
            raise ValueError("unknown PDU type 0x%02X" % tag)
        self.pdu_type = tag
        tag, rs, re_ = read_tlv(data, ps, pe)
        if tag != 0x02:
            raise ValueError("no request id")
        self.request_id = decode_integer(data[rs:re_])
        self.request_id_raw = data[ps:re_]
        tag, es, ee = read_tlv(data, re_, pe)
        tag2, is_, ie = read_tlv(data, ee, pe)
        if tag != 0x02 or tag2 != 0x02:
            raise ValueError("no error fields")
        self.error_status = decode_integer(data[es:ee])
        self.error_index = decode_integer(data[is_:ie])
        tag, ls, le = read_tlv(data, ie, pe)
        if tag != 0x30:
            raise ValueError("no varbind list")
        self.varbinds_raw = data[ie:le]
        self.varbinds = []
        pos = ls
        while pos < le:
            tag, bs, be = read_tlv(data, pos, le)
            if tag != 0x30:
                raise ValueError("bad varbind")
            otag, os_, oe = read_tlv(data, bs, be)
            if otag != 0x06:
                raise ValueError("varbind without OID")
            vtag, vs2, ve2 = read_tlv(data, oe, be)
            kind, value = decode_value(vtag, data[vs2:ve2])
            self.varbinds.append((decode_oid(data[os_:oe]), kind, value))
            pos = be

    @property
    def pdu_name(self):
        return PDU_NAMES.get(self.pdu_type, "0x%02X" % self.pdu_type)

    def error_reply(self, status=GEN_ERR, index=1):
        """The same message turned into a GetResponse carrying an error status."""
        pdu = (self.request_id_raw + encode_integer(status) + encode_integer(index)
               + self.varbinds_raw)
        return tlv(0x30, self.version_raw + self.community_raw + tlv(GET_RESPONSE, pdu))


def get_request(community, oids, request_id=1, version=1):
    """A v2c (version 1) or v1 (version 0) GetRequest for the given OIDs."""
    varbinds = b"".join(tlv(0x30, encode_oid(oid) + b"\x05\x00") for oid in oids)
    pdu = encode_integer(request_id) + encode_integer(0) + encode_integer(0) + tlv(0x30, varbinds)
    if isinstance(community, str):
        community = community.encode("ascii")
    return tlv(0x30, encode_integer(version) + tlv(0x04, community) + tlv(GET_REQUEST, pdu))
