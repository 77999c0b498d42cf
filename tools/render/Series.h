#pragma once
// A series of lessons in one folder: the MP3s' ID3v2 tags, the playlist and the
// podcast feed that a phone's podcast app takes.
#include <QDir>
#include <QString>

#include <vector>

namespace lumbrel::render {

struct LessonFile {
    QString file;  // its name in the folder
    QString title;
    int track = 0;
    qint64 bytes = 0;
    double seconds = 0;
};

// Adds an ID3v2 tag (title, album, track number) before the audio of the MP3 at path,
// keeping the ID3v1 tag at its end as it is; empty on success, otherwise why not.
QString TagMp3(const QString& path, const QString& title, int track, const QString& album);

// Puts the complete file from in the place of any file at to; empty on success.
QString ReplaceFile(const QString& from, const QString& to);

// A text file of the items a lesson sent, one a line.
QString WriteItemList(const QString& path, const QByteArray& items);

// lessons.m3u: an extended M3U playlist of the lessons, by their names in the folder.
QString WritePlaylist(const QDir& dir, const std::vector<LessonFile>& lessons);

// feed.xml: an RSS 2.0 podcast feed, one item a lesson with its enclosure (the URL under
// baseUrl, or the bare name without one), its length in bytes and its duration.
QString WriteFeed(const QDir& dir, const QString& title, const QString& baseUrl, bool mp3,
                  const std::vector<LessonFile>& lessons);

}  // namespace lumbrel::render
