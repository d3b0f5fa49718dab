#pragma once

#include "register/Install.h"
#include "register/RegisterTables.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDrive.h"

#include <gtest/gtest.h>
#include <memory>

// What the sqlite3 program prints for a statement over a file.
QString sqlite3(const QString& file, const QString& statement);

// A drive of the test's own with the tables installed and the data-access objects over them.
class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override { reg::install::run(); }
    reg::RegisterTables& tables() {
        if (!tables_) tables_ = std::make_unique<reg::RegisterTables>();
        return *tables_;
    }
    void reopen() { tables_.reset(); }

    // A row as Save stores it.
    static reg::RegisterRow row(const QString& claim, int seq,
                                const QString& status = QStringLiteral("กำลังซ่อม"),
                                const QDate& reportDate = QDate(2026, 12, 11));
    void store(const reg::RegisterRow& r);
    void store(const QList<reg::RegisterRow>& rows);
    // The rows a statement gives, as Claimno/Seq pairs in the engine's order.
    QStringList keysOf(reg::Query& query);
    QStringList select(const QStringList& lines, const QVariant& parameter = {});

    TempDrive drive;

private:
    std::unique_ptr<reg::RegisterTables> tables_;
};
