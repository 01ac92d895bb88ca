// Crafted WAV headers read by both rules over the chunk walk: a message's
// header (seen through the first bytes only) and a greeting's format (the
// whole file). Each row shows what each rule says of the same bytes.
#include "mailbox/WaveFormat.h"
#include "mailbox/WaveSound.h"

#include <gtest/gtest.h>

namespace {

QByteArray le(std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); }
QByteArray chunk(const char* id, std::uint32_t size, const QByteArray& body) { return id + le(size) + body; }
QByteArray chunk(const char* id, const QByteArray& body)
{
    return chunk(id, static_cast<std::uint32_t>(body.size()), body);
}
QByteArray riff(const QByteArray& chunks, std::uint32_t extra = 0)
{
    return "RIFF" + le(static_cast<std::uint32_t>(chunks.size()) + 4 + extra) + "WAVE" + chunks;
}
// PCM, 8 kHz, 16 bit, mono: 16,000 bytes a second.
const QByteArray kFmt = chunk("fmt ", QByteArray::fromHex("01000100401f0000803e000002001000"));
const QByteArray kData = chunk("data", QByteArray(1600, '\x05'));

QString soundSays(const QByteArray& file, qsizetype headBytes)
{
    const vm::mailbox::WaveSound s = vm::mailbox::waveSoundOf(QByteArrayView(file).first(headBytes), file.size());
    return s.complete ? QStringLiteral("%1 s").arg(s.seconds) : s.problem;
}

QString greetingSays(const QByteArray& file)
{
    QString problem;
    const auto format = vm::mailbox::waveFormatOf(file, problem);
    return format ? format->describe() : problem;
}

}  // namespace

TEST(RiffChunks, MessageHeaderAndGreetingFormatReadTheSameChunks)
{
    const QByteArray longList = chunk("LIST", QByteArray(600, 'x'));
    const struct {
        QByteArray file;
        qsizetype head;  // bytes at hand for the message rule; -1 all
        const char* sound;
        const char* greeting;
    } cases[] = {
        {"ID3\x04", -1, "it has no RIFF/WAVE header", "not a WAV file (no RIFF/WAVE header)"},
        {riff(kFmt + kData, 4), -1, "its RIFF header gives a file of 1648 bytes, but it holds 1644",
         "its RIFF header gives a file of 1648 bytes, but it holds 1644"},
        {riff(kFmt + kData), -1, "0.1 s", "PCM, 8 kHz, 16 bit, mono"},
        // An odd chunk is padded; the last one's pad byte may be missing.
        {riff(kFmt + chunk("LIST", "abc") + '\0' + kData), -1, "0.1 s", "PCM, 8 kHz, 16 bit, mono"},
        {riff(kFmt + kData + chunk("note", "abc")), -1, "0.1 s", "PCM, 8 kHz, 16 bit, mono"},
        {riff(kFmt + kData + "LIS"), -1, "0.1 s", "it ends inside the chunk header at byte 1644"},
        {riff(kFmt + chunk("data", ~0u, "123456")), -1, "its \"data\" chunk gives 4294967295 bytes, but only 6 follow",
         "its \"data\" chunk at byte 36 gives 4294967295 bytes, but only 6 follow"},
        {riff(chunk("data", "12") + kFmt), -1, "no format with a byte rate comes before its data",
         "its data chunk comes before a format chunk"},
        {riff(kFmt), -1, "it has no data chunk", "it has no data chunk"},
        {riff({}), -1, "it has no data chunk", "it has no format chunk"},
        {riff(chunk("fmt ", kFmt.mid(8, 14)) + kData), -1, "its format chunk is short or out of reach",
         "its format chunk has 14 bytes, not 16"},
        {riff(kFmt + kFmt + kData), -1, "0.1 s", "it has two format chunks"},
        {riff(kFmt + kData + kData), -1, "0.1 s", "it has two data chunks"},
        {riff(kFmt + chunk("data", "123")), -1, "0.0001875 s",
         "its data chunk has 3 bytes, not a whole number of 2-byte samples"},
        // The message rule sees only the start of the file.
        {riff(longList + kFmt + kData), 512, "its header goes on past byte 512", "PCM, 8 kHz, 16 bit, mono"},
        {riff(kFmt + kData), 30, "its format chunk is short or out of reach", "PCM, 8 kHz, 16 bit, mono"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.left(64).toHex().toStdString());
        EXPECT_EQ(soundSays(c.file, c.head < 0 ? c.file.size() : c.head).toStdString(), c.sound);
        EXPECT_EQ(greetingSays(c.file).toStdString(), c.greeting);
    }
}
