#pragma once

// A fresh data file for each test: the built template "TLM.new" copied into a temporary folder
// and opened with core::OpenDatafile, under a ScriptedPrompter that records every question.
//
//   class MyTest : public DatafileFixture {};
//   TEST_F(MyTest, Something) { auto rs = db().OpenTable("Items"); ... reopen(); ... }

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/u14properties.h"
#include "platform/dao/dao.h"
#include "platform/ui/scriptedprompter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class DatafileFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        const QString templatePath = core::JoinPath(core::AppPath(), QStringLiteral("TLM.new"));
        ASSERT_TRUE(QFileInfo::exists(templatePath))
            << "template missing (build the tolmar_template target): " << templatePath.toStdString();
        mPath = mDir.filePath(QStringLiteral("Fire1.tlm"));
        ASSERT_TRUE(QFile::copy(templatePath, mPath));
        QFile::setPermissions(mPath, QFile::ReadOwner | QFile::WriteOwner);
        open();
    }

    void TearDown() override
    {
        if (core::gDatabase())
            core::CloseDatafile();
    }

    // Closes and opens the file again, as a user reopening it would see it.
    void reopen()
    {
        core::CloseDatafile();
        open();
    }

    dao::Database& db() { return *core::gDatabase(); }
    // Every row the queries give, fields joined by "|": to tell that nothing was written.
    QStringList rowsOf(const QStringList& queries)
    {
        QStringList rows;
        for (const QString& sql : queries) {
            auto rs = db().OpenRecordset(sql);
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList fields;
                for (int i = 0; i < rs->FieldCount(); ++i)
                    fields << rs->Field(i).toString();
                rows << fields.join('|');
            }
        }
        return rows;
    }
    const QString& path() const { return mPath; }
    QString tempDir() const { return mDir.path(); }

    ui::ScriptedPrompter prompter;

private:
    void open()
    {
        ASSERT_TRUE(core::OpenDatafile(mPath))
            << "the template did not open; messages: " << prompter.messages().size();
        core::Property_Set(QStringLiteral("FullFileName"), mPath);
        ASSERT_TRUE(core::gFileOpen());
        prompter.clear();
    }

    QTemporaryDir mDir;
    QString mPath;
};
