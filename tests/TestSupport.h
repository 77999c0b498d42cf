#pragma once
// Helpers shared by the tests.
#include <QByteArray>
#include <QString>

#include <map>

#include "morse/CharacterSet.h"

namespace lumbrel::test {

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// Stands in for the main window's spinner, setup dialog and tool bar.
class FakeCharacterWindows final : public CharacterWindows {
public:
    int CharacterCount() const override { return count; }
    void SetCharacterCount(int c) override { count = c; }
    int CharacterCountMaximum() const override { return maximum; }
    void SetCharacterCountMaximum(int m) override { maximum = m; }
    void SetCharacterCaptions(const QStringList& c) override { captions = c; }
    void ShowCharacterBoxes(int c) override { shownBoxes = c; ++showBoxesCalls; }
    void SetToolVisible(LearningTool tool, bool visible) override { tools[tool] = visible; }

    bool Visible(LearningTool tool) const
    {
        auto it = tools.find(tool);
        return it != tools.end() && it->second;
    }

    int count = 2;
    int maximum = 64;  // the spinner's designed range until the list is built
    QStringList captions;
    int shownBoxes = -1;
    int showBoxesCalls = 0;
    std::map<LearningTool, bool> tools;
};

}  // namespace lumbrel::test
