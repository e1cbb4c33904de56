#!/usr/bin/env python3
"""Prints the text of the page a running chromium shows, through its
debugging port (the DevTools protocol over a WebSocket, spoken here with
the standard library alone).

    page_text.py PORT
"""
import base64
import json
import os
import socket
import struct
import sys
import urllib.request
from urllib.parse import urlparse


def send_frame(sock, text):
    payload = text.encode()
    header = bytes([0x81])
    if len(payload) < 126:
        header += bytes([0x80 | len(payload)])
    else:
        header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
    mask = os.urandom(4)
    sock.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))


def read_exactly(sock, n):
    data = b""
    while len(data) < n:
        chunk = sock.recv(n - len(data))
        if not chunk:
            raise ConnectionError("closed")
        data += chunk
    return data


def read_frame(sock):
    first, second = read_exactly(sock, 2)
    length = second & 0x7F
    if length == 126:
        length = struct.unpack(">H", read_exactly(sock, 2))[0]
    elif length == 127:
        length = struct.unpack(">Q", read_exactly(sock, 8))[0]
    return first & 0x0F, read_exactly(sock, length)


def main():
    port = int(sys.argv[1])
    targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json", timeout=10))
    page = next(t for t in targets if t.get("type") == "page")
    url = urlparse(page["webSocketDebuggerUrl"])
    sock = socket.create_connection((url.hostname, url.port), timeout=10)
    key = base64.b64encode(os.urandom(16)).decode()
    sock.sendall((f"GET {url.path} HTTP/1.1\r\nHost: {url.hostname}:{url.port}\r\nUpgrade: websocket\r\n"
                  f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
    response = b""
    while b"\r\n\r\n" not in response:
        response += sock.recv(1)
    if b" 101 " not in response.split(b"\r\n")[0]:
        sys.exit("no WebSocket")
    send_frame(sock, json.dumps({"id": 1, "method": "Runtime.evaluate",
                                 "params": {"expression": "document.body.innerText", "returnByValue": True}}))
    while True:
        opcode, payload = read_frame(sock)
        if opcode == 1:
            message = json.loads(payload)
            if message.get("id") == 1:
                print(message["result"]["result"]["value"])
                return


if __name__ == "__main__":
    main()
