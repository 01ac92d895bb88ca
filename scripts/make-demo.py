#!/usr/bin/env python3
"""Writes the bundled demo application folder: a few mailboxes, messages of
several boxes (new and saved), greetings, QV.INI, FSCLIENT.INI with the
circular trace log on, the e-mail body file and the two wave files of the
system folder. Every sound is a generated tone.

    scripts/make-demo.py demo
"""
import math
import struct
import sys
import wave
from pathlib import Path

CRLF = "\r\n"


def tone(path, seconds, freq, rate=8000, volume=0.3):
    frames = int(seconds * rate)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        data = bytearray()
        for i in range(frames):
            fade = min(1.0, i / 400, (frames - i) / 400)
            data += struct.pack("<h", int(32767 * volume * fade * math.sin(2 * math.pi * freq * i / rate)))
        w.writeframes(bytes(data))


def text(path, lines):
    path.write_bytes(CRLF.join(lines).encode("cp1252") + CRLF.encode())


BOXES = [
    # Id, Pin, Groups, Description, EmailForward, PhoneForward, PagerNumber, PagerMessage, OnReceive, Ftp, Delete
    ("100", "1234", "sales", "Front desk", "desk@example.com", "", "", "", "", 0, 0),
    ("101", "4321", "sales", "Anna Lindqvist", "anna@example.com", "5550101", "", "", "", 1, 0),
    ("102", "0000", "support", "Support line", "", "", "5550199", "102", "", 0, 1),
    ("200", "2000", "", "Warehouse", "", "", "", "", "notify.sh", 0, 0),
    ("7", "7777", "", "Night service", "", "", "", "", "", 0, 0),
]

MESSAGES = [
    ("101_1204153012_1_1000_999.wav", 4.0, 440),
    ("101_1203091500_0_1_5551234.wav", 9.5, 520),
    ("101_1130174210_0_2_5559876.wav", 2.0, 600),
    ("102_1204080102_1_3_5550001.wav", 6.0, 380),
    ("102_1204080533_1_3_.wav", 3.0, 700),
    ("200_1201120000_0_1_5557777.wav", 14.0, 300),
]


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "demo")
    for sub in ("data/VmSave", "data/VmWelc", "system"):
        (out / sub).mkdir(parents=True, exist_ok=True)

    lines = ['<?xml version="1.0"?>', "<VoicemailBoxes>"]
    for b in sorted(BOXES, key=lambda b: b[0].lower()):
        lines.append(
            f'<VoicemailBox Id="{b[0]}"><Pin>{b[1]}</Pin><Groups>{b[2]}</Groups><Description>{b[3]}</Description>'
            f"<EmailForward>{b[4]}</EmailForward><PhoneForward>{b[5]}</PhoneForward><PagerNumber>{b[6]}</PagerNumber>"
            f"<PagerMessage>{b[7]}</PagerMessage><OnReceive>{b[8]}</OnReceive><FtpUpload>{b[9]}</FtpUpload>"
            f"<DeleteAfterForward>{b[10]}</DeleteAfterForward></VoicemailBox>")
    lines.append("</VoicemailBoxes>")
    text(out / "data/VmBoxList.xml", lines)

    for name, seconds, freq in MESSAGES:
        tone(out / "data/VmSave" / name, seconds, freq)
    tone(out / "data/VmWelc/101.wav", 2.5, 660)
    tone(out / "data/VmWelc/102.wav", 1.5, 550)
    tone(out / "system/8pcm16m.wav", 0.5, 1000, volume=0.0)
    tone(out / "system/VeryShort.wav", 0.05, 1000, volume=0.0)

    text(out / "QV.INI", [
        "[PlayRecordConfig]",
        "RecEditor=audacity ",
        "",
        "[Voicemail]",
        "RecLengthMin=3",
        "RecLengthMax=300",
        "ForwardEmailSubject=New voicemail",
        "ForwardEmailSmtpServer=mail.example.com",
        "ForwardEmailSmtpEmailAddress=voicemail@example.com",
        "ForwardEmailMechanism=SMTP",
        "FtpServer=ftp.example.com",
        "FtpDir=/voicemail",
        "FtpUser=vm",
        "FtpPassword=secret",
        "RunCommandAfterRec=",
    ])
    text(out / "FSCLIENT.INI", [
        "[Log File]",
        "CircularLog=1",
        "Write To Disk=1",
        "Log File=error.log",
        "",
        "[CircularLog]",
        "FileName=circ0001.log",
        "RecordSize=512",
        "MaxRecords=100",
    ])
    text(out / "VmEmailForwardBody.txt", [
        "You have a new voicemail message.",
        "It is attached to this e-mail.",
    ])


if __name__ == "__main__":
    main()
