#pragma once

#include "VXDefaults.h"

#include <QLocale>

#include <gtest/gtest.h>

// Each test starts with no stored settings and in en_US; German() and
// UnitedStates() switch the default locale that every text reads.
class LocaleFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VXDefaults::settings().clear();
        UnitedStates();
    }
    void TearDown() override
    {
        VXDefaults::settings().clear();
        QLocale::setDefault(QLocale::c());
    }

    static void German() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    static void UnitedStates()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    static void setSetting(const QString &key, const QVariant &value)
    {
        VXDefaults::settings().setValue(key, value);
    }
};
