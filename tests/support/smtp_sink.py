# A local SMTP server for the e-mail tests: listens on a free port of
# 127.0.0.1, prints that port, and stores each message it accepts as
# OUT/N.eml with its envelope in OUT/N.env ("from", "to" and "login" lines).
# --login USER:PASSWORD requires that login (AUTH PLAIN or LOGIN, allowed
# without TLS); --refuse ADDRESS answers 550 for that recipient. It stops
# when its standard input closes.
import argparse
import os
import socket
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

parser = argparse.ArgumentParser()
parser.add_argument('--out', required=True)
parser.add_argument('--login')
parser.add_argument('--refuse')
args = parser.parse_args()


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, options):
        if address == args.refuse:
            return '550 5.1.1 <%s>: Recipient address rejected: User unknown' % address
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        n = len([f for f in os.listdir(args.out) if f.endswith('.eml')])
        login = session.auth_data.login.decode() if session.authenticated else ''
        with open(os.path.join(args.out, '%d.env' % n), 'w') as f:
            f.write('from=%s\nto=%s\nlogin=%s\n' % (envelope.mail_from, ','.join(envelope.rcpt_tos), login))
        with open(os.path.join(args.out, '%d.eml' % n), 'wb') as f:
            f.write(envelope.original_content)
        return '250 Message accepted for delivery'


def authenticate(server, session, envelope, mechanism, data):
    if isinstance(data, LoginPassword) and args.login == '%s:%s' % (data.login.decode(), data.password.decode()):
        return AuthResult(success=True, auth_data=data)
    return AuthResult(success=False, handled=False)


probe = socket.socket()
probe.bind(('127.0.0.1', 0))
port = probe.getsockname()[1]
probe.close()
extra = {'authenticator': authenticate, 'auth_required': True, 'auth_require_tls': False} if args.login else {}
controller = Controller(Handler(), hostname='127.0.0.1', port=port, **extra)
controller.start()
print(port, flush=True)
sys.stdin.read()
controller.stop()
