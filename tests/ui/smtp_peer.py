"""A mail server for the e-mail tests: takes messages on 127.0.0.1 and writes each one, decoded,
as JSON into a folder. Prints "PORT <n>" once it listens; runs until its standard input closes.

smtp_peer.py OUT_DIR [--user U --password P] [--cert CERT --key KEY]
With a certificate the server offers STARTTLS and insists on it; with a user it insists on a
login and refuses any other password."""

import argparse
import json
import os
import socket
import ssl
import sys
from email import message_from_bytes, policy
from email.header import decode_header, make_header
from email.utils import parsedate_to_datetime

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def date_of(message):
    """The Date header as ISO 8601, or why it does not parse."""
    try:
        return parsedate_to_datetime(str(message["Date"])).isoformat()
    except Exception as error:  # noqa: BLE001 - any failure is the answer
        return "unparsable %r: %s" % (str(message["Date"]), error)


def defects_of(message):
    """Every defect the parser found in the message, its parts and their headers."""
    found = []
    for part in message.walk():
        found += [repr(d) for d in part.defects]
        for name, value in part.items():
            found += ["%s: %r" % (name, d) for d in getattr(value, "defects", ())]
    return found


class Keep:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        message = message_from_bytes(envelope.content, policy=policy.default)
        body = None
        attachments = []
        for part in message.walk():
            if part.is_multipart():
                continue
            name = part.get_filename()
            if name is None and body is None and part.get_content_type() == "text/plain":
                body = part.get_content()
            elif name is not None:
                attachments.append({
                    "filename": str(make_header(decode_header(name))),
                    "type": part.get_content_type(),
                    "encoding": part.get("Content-Transfer-Encoding", ""),
                    "hex": part.get_payload(decode=True).hex(),
                })
        self.count += 1
        record = {
            "date": date_of(message),
            "defects": defects_of(message),
            "eight_bit_headers": any(b > 127 for b in envelope.content.split(b"\r\n\r\n")[0]),
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "to": str(message["To"]),
            "from_names": [a.display_name for a in message["From"].addresses],
            "subject": str(message["Subject"]),
            "body": body,
            "attachments": attachments,
        }
        path = os.path.join(self.folder, "message-%d.json" % self.count)
        with open(path + ".part", "w", encoding="utf-8") as out:
            json.dump(record, out)
        os.replace(path + ".part", path)
        return "250 OK"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()

    def authenticate(server, session, envelope, mechanism, data):
        ok = (isinstance(data, LoginPassword) and data.login.decode() == args.user
              and data.password.decode() == args.password)
        return AuthResult(success=ok, handled=False)

    kwargs = {}
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
        kwargs.update(tls_context=context, require_starttls=True)
    if args.user:
        kwargs.update(authenticator=authenticate, auth_required=True,
                      auth_require_tls=bool(args.cert))

    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    controller = Controller(Keep(args.out), hostname="127.0.0.1", port=port, **kwargs)
    controller.start()
    print("PORT %d" % port, flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
