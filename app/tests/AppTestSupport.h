#pragma once

// Shared set-up of the program's tests: a fresh quiz state, a temporary
// working folder for the settings file, and a fixed random source.

#include "app/uFunctions.h"
#include "app/uVariables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace apptest {

class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        app::ResetQuizState();
        m_draws = std::make_shared<std::deque<int>>();
        auto draws = m_draws;
        // Scripted draws first; when they run out, a fixed question
        // (interval 1, up, base 60).
        app::SetRandomSource([draws](int n) {
            if (draws->empty())
                return n == 24 ? 12 : 0;
            int v = draws->front();
            draws->pop_front();
            return v % n;
        });
    }
    void TearDown() override
    {
        app::SetRandomSource({});
        app::ResetQuizState();
        QDir::setCurrent(m_oldCwd);
    }

    // Scripts the next question: interval 1..12, direction (0 up, 1 down),
    // base note 48..71.
    void nextQuestion(int interval, int down, int base)
    {
        m_draws->push_back(interval - 1);
        m_draws->push_back(down);
        m_draws->push_back(base - 48);
    }

    void writeSettings(const QByteArray &content)
    {
        QFile f("melbrook.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray settings() const
    {
        QFile f("melbrook.ini");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
    QString m_oldCwd;
    std::shared_ptr<std::deque<int>> m_draws;
};

} // namespace apptest
