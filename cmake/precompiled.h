// The headers most of Lumbrel's files include, parsed once per target instead of once
// per file (about half of a file's compile time goes to them). Only what every target
// can see: the Qt modules and GoogleTest come in where the target uses them.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#if __has_include(<QString>)
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#endif

#if __has_include(<QWidget>)
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#endif

#ifdef LUMBREL_PRECOMPILE_GTEST
#include <gtest/gtest.h>
#endif
