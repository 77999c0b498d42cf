// The record command's file names: the dialog's starting name, and what a chosen path
// becomes for the recording and its transcript.
#include <gtest/gtest.h>

#include "recording/RecordCommand.h"

using namespace lumbrel;

namespace {

void ExpectNames(const QString& chosen, bool mp3, const QString& audio, const QString& transcript) {
    const RecordingNames names = ChooseRecordingNames(chosen, mp3);
    EXPECT_EQ(names.audioFile, audio) << chosen.toStdString();
    EXPECT_EQ(names.transcriptFile, transcript) << chosen.toStdString();
}

TEST(RecordCommand, DefaultNameIsCharactersSpeedAndEffectiveSpeedInTwoDigits) {
    EXPECT_EQ(DefaultRecordingName(5, 20, 15), QStringLiteral("Lumbrel_05_20_15"));
    EXPECT_EQ(DefaultRecordingName(40, 35, 5), QStringLiteral("Lumbrel_40_35_05"));
    EXPECT_EQ(DefaultRecordingName(100, 15, 15), QStringLiteral("Lumbrel_100_15_15"));
}

TEST(RecordCommand, WavNamesGetTheirEndingOnceAndTheTranscriptDropsIt) {
    ExpectNames(QStringLiteral("C:\\Rec\\test"), false, QStringLiteral("C:\\Rec\\test.wav"),
                QStringLiteral("C:\\Rec\\test.txt"));
    ExpectNames(QStringLiteral("C:\\Rec\\test.WAV"), false, QStringLiteral("C:\\Rec\\test.WAV"),
                QStringLiteral("C:\\Rec\\test.txt"));
    ExpectNames(QStringLiteral("/rec/test.wav"), false, QStringLiteral("/rec/test.wav"),
                QStringLiteral("/rec/test.txt"));
    ExpectNames(QStringLiteral("/rec/Test.Wav"), false, QStringLiteral("/rec/Test.Wav"),
                QStringLiteral("/rec/Test.txt"));
}

TEST(RecordCommand, OnlyAnEndingCountsNotWavInAFolderOrInsideTheName) {
    ExpectNames(QStringLiteral("C:\\my.wave\\take1"), false, QStringLiteral("C:\\my.wave\\take1.wav"),
                QStringLiteral("C:\\my.wave\\take1.txt"));
    ExpectNames(QStringLiteral("/home/u/old.wav/take1"), false, QStringLiteral("/home/u/old.wav/take1.wav"),
                QStringLiteral("/home/u/old.wav/take1.txt"));
    ExpectNames(QStringLiteral("/rec/take.wave"), false, QStringLiteral("/rec/take.wave.wav"),
                QStringLiteral("/rec/take.wave.txt"));
    ExpectNames(QStringLiteral("/rec/take.mp3"), false, QStringLiteral("/rec/take.mp3.wav"),
                QStringLiteral("/rec/take.mp3.txt"));
}

TEST(RecordCommand, TheFormatFollowsTheChosenTypeNotTheTypedExtension) {
    ExpectNames(QStringLiteral("x.wav"), true, QStringLiteral("x.wav.mp3"), QStringLiteral("x.wav.txt"));
    ExpectNames(QStringLiteral("C:\\Rec\\take1"), true, QStringLiteral("C:\\Rec\\take1.mp3"),
                QStringLiteral("C:\\Rec\\take1.txt"));
    ExpectNames(QStringLiteral("C:\\Rec\\take1.MP3"), true, QStringLiteral("C:\\Rec\\take1.MP3"),
                QStringLiteral("C:\\Rec\\take1.txt"));
    ExpectNames(QStringLiteral("/my.mp3s/take1"), true, QStringLiteral("/my.mp3s/take1.mp3"),
                QStringLiteral("/my.mp3s/take1.txt"));
}

TEST(RecordCommand, DegenerateChoicesStillGiveTwoDistinctNames) {
    ExpectNames(QStringLiteral(".wav"), false, QStringLiteral(".wav"), QStringLiteral(".txt"));
    ExpectNames(QString(), true, QStringLiteral(".mp3"), QStringLiteral(".txt"));
    // Non-ASCII case folding cannot shift the cut.
    ExpectNames(QString::fromUtf8("/rec/stra\xC3\x9F"
                                  "e.WAV"),
                false,
                QString::fromUtf8("/rec/stra\xC3\x9F"
                                  "e.WAV"),
                QString::fromUtf8("/rec/stra\xC3\x9F"
                                  "e.txt"));
}

}  // namespace
