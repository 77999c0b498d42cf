#include "tools/render/Series.h"

#include <QSaveFile>
#include <QUrl>
#include <QXmlStreamWriter>

#include <cmath>
#include <cstdio>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tstring.h>

namespace lumbrel::render {
namespace {

TagLib::String Text(const QString& text) {
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

// "H:MM:SS", as podcast feeds give durations.
QString Duration(double seconds) {
    const long long s = std::llround(seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString Save(QSaveFile& file) {
    return file.commit() ? QString()
                         : QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
}

}  // namespace

QString TagMp3(const QString& path, const QString& title, int track, const QString& album) {
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    if (!file.isValid())
        return QStringLiteral("cannot tag %1: not an MP3 file").arg(path);
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    tag->setTitle(Text(title));
    tag->setAlbum(Text(album));
    tag->setTrack(static_cast<unsigned int>(track));
    if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v4,
                   TagLib::File::DoNotDuplicate))
        return QStringLiteral("cannot tag %1").arg(path);
    return {};
}

QString ReplaceFile(const QString& from, const QString& to) {
    // rename() puts the new file in the old one's place in one step.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return QStringLiteral("cannot put %1 in the place of %2").arg(from, to);
    return {};
}

QString WriteItemList(const QString& path, const QByteArray& items) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    file.write(items);
    return Save(file);
}

QString WritePlaylist(const QDir& dir, const std::vector<LessonFile>& lessons) {
    QSaveFile file(dir.filePath(QStringLiteral("lessons.m3u")));
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
    QByteArray text = "#EXTM3U\n";
    for (const LessonFile& lesson : lessons)
        text += QStringLiteral("#EXTINF:%1,%2\n%3\n")
                    .arg(std::llround(lesson.seconds))
                    .arg(lesson.title, lesson.file)
                    .toUtf8();
    file.write(text);
    return Save(file);
}

QString WriteFeed(const QDir& dir, const QString& title, const QString& baseUrl, bool mp3,
                  const std::vector<LessonFile>& lessons) {
    QSaveFile file(dir.filePath(QStringLiteral("feed.xml")));
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
    const QString base =
        baseUrl.isEmpty() || baseUrl.endsWith(QLatin1Char('/')) ? baseUrl : baseUrl + QLatin1Char('/');
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("rss"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeNamespace(QStringLiteral("http://www.itunes.com/dtds/podcast-1.0.dtd"),
                       QStringLiteral("itunes"));
    const QString itunes = QStringLiteral("http://www.itunes.com/dtds/podcast-1.0.dtd");
    xml.writeStartElement(QStringLiteral("channel"));
    xml.writeTextElement(QStringLiteral("title"), title);
    xml.writeTextElement(QStringLiteral("link"), base.isEmpty() ? QStringLiteral("feed.xml") : base);
    xml.writeTextElement(QStringLiteral("description"),
                         QStringLiteral("Morse code lessons with spoken answers, for copying by ear."));
    xml.writeTextElement(QStringLiteral("language"), QStringLiteral("en"));
    for (const LessonFile& lesson : lessons) {
        xml.writeStartElement(QStringLiteral("item"));
        xml.writeTextElement(QStringLiteral("title"), lesson.title);
        xml.writeEmptyElement(QStringLiteral("enclosure"));
        xml.writeAttribute(QStringLiteral("url"),
                           base + QString::fromUtf8(QUrl::toPercentEncoding(lesson.file)));
        xml.writeAttribute(QStringLiteral("length"), QString::number(lesson.bytes));
        xml.writeAttribute(QStringLiteral("type"),
                           mp3 ? QStringLiteral("audio/mpeg") : QStringLiteral("audio/wav"));
        xml.writeStartElement(QStringLiteral("guid"));
        xml.writeAttribute(QStringLiteral("isPermaLink"), QStringLiteral("false"));
        xml.writeCharacters(lesson.file);
        xml.writeEndElement();
        xml.writeTextElement(itunes, QStringLiteral("duration"), Duration(lesson.seconds));
        xml.writeTextElement(itunes, QStringLiteral("episode"), QString::number(lesson.track));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError())
        return QStringLiteral("cannot write %1").arg(file.fileName());
    return Save(file);
}

}  // namespace lumbrel::render
