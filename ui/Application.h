#pragma once
// The program's application object: title, icon, resources, and the rule that an
// error escaping a reaction is shown in the standard error box and the program goes on.
#include <QApplication>

namespace lumbrel {

inline constexpr const char* kApplicationTitle = "Zelph Morse Trainer";
inline constexpr const char* kMainWindowCaption = "Lumbrel - Zelph";

// Makes the embedded icons available; safe to call more than once.
void InitUiResources();

class Application final : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void ShowEscapedError(const QString& text);
};

}  // namespace lumbrel
