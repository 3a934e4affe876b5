// What the operator reads: the template font's real metrics (Times New Roman,
// which Wine here draws with the metric-compatible Liberation Serif), and
// every text of a visit fitting its control in each of the demo's languages.
// Only where the window system has real fonts: the headless one measures
// with fixed base units.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "driver/text_fit.h"
#include "resource.h"
#include "scenario/demo_files.h"
#include "scenario/sheet_support.h"

namespace {

const char kNoRealFonts[] =
    "the headless window system measures text with fixed base units, not a font's metrics";

#ifdef _WIN32

// key=value lines of an INI text (one section, or the whole file).
std::map<std::string, std::string> KeyValues(const std::string& ini) {
    std::map<std::string, std::string> values;
    for (const std::string& line : sheettest::Lines(ini)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos && !line.empty() && line[0] != ';' && line[0] != '[') {
            values[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return values;
}

// The colour list box draws each entry's text this far from its left edge.
const int kColorListIndent = 5;

struct Language {
    int number;
    const char* section;
    const char* utf8Texts;
    unsigned codePage;  // the texts' code page; 0: any (plain ASCII)
    const char* locale;
};

const Language kLanguages[] = {
    {SETUP_LANGUAGE_ENU, "ENU", demofiles::kLanguageENU, 0, ""},
    {1, "CHS", demofiles::kLanguageCHS, 936, "zh_CN.UTF-8"},
    {2, "CHT", demofiles::kLanguageCHT, 950, "zh_TW.UTF-8"},
};

// One visit of every window of the module with the demo's texts and job in
// `language`; every text cut off fails the test.
void CheckEveryWindow(const Language& language) {
    if (language.codePage != 0 && ::GetACP() != language.codePage) {
        GTEST_SKIP() << "the " << language.section << " texts need code page " << language.codePage
                     << " (this process has " << ::GetACP()
                     << "); its own CTest entry runs it under LC_ALL=" << language.locale;
    }
    Station station;
    std::map<std::string, std::string> texts;
    for (const auto& entry : KeyValues(language.utf8Texts)) {
        texts[entry.first] = textfit::AnsiFromUtf8(entry.second);
        station.SetText(entry.first, texts[entry.first], language.number);
    }
    station.WriteJob(demofiles::kJob);
    std::vector<std::string> ids;
    const auto job = KeyValues(sheettest::Section(demofiles::kJob, "CheckID"));
    for (int i = 0; job.count("FID" + std::to_string(i)) != 0; ++i) {
        ids.push_back(job.at("FID" + std::to_string(i)));
    }
    ASSERT_FALSE(ids.empty()) << "the demo job has no [CheckID] flash IDs to list";

    std::vector<std::string> seen;
    auto check = [&](const std::string& window, const std::vector<textfit::Cut>& cuts) {
        seen.push_back(window);
        for (const textfit::Cut& cut : cuts) {
            ADD_FAILURE() << "[" << language.section << "] " << window << ": "
                          << textfit::Describe(cut, textfit::KeysOf(texts, cut.text));
        }
    };

    Operator op;
    op.OnDialog(IDD_PASSWORD, [&](DialogDriver& d) {
        check("password dialog", textfit::CutTexts(d.Hwnd()));
        d.Click(IDOK);
    });
    op.OnSheet([&](SheetDriver& s) {
        for (int tab = 0; tab < s.PageCount(); ++tab) {
            s.PickTab(tab);
            ASSERT_EQ(tab, s.ActiveIndex());
            const std::string name = "tab " + std::to_string(tab + 1);
            check(name + " (" + s.TabTitle(tab) + ")", textfit::CutTexts(s.Hwnd()));
            if (s.Exists(IDC_ADVANCED)) {
                op.OnDialog(IDD_ADVANCED, [&](DialogDriver& d) {
                    check("advanced settings dialog", textfit::CutTexts(d.Hwnd()));
                    d.Click(IDC_ADVANCED_CANCEL);
                });
                s.Click(IDC_ADVANCED);
            }
            if (s.Exists(IDC_ADD_MODIFY)) {
                s.Check(IDC_CHECK_FLASH_ID);
                op.OnDialog(IDD_FLASH_ID, [&](DialogDriver& d) {
                    std::vector<textfit::Cut> cuts = textfit::CutTexts(d.Hwnd());
                    EXPECT_EQ(ids.size(), d.Items(IDC_FID_LIST).size());
                    for (const textfit::Cut& cut :
                         textfit::CutListEntries(d.Item(IDC_FID_LIST), ids, kColorListIndent)) {
                        cuts.push_back(cut);
                    }
                    check("flash ID editor", cuts);
                    d.Click(IDCANCEL);
                });
                s.Click(IDC_ADD_MODIFY);
            }
        }
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op, 2, static_cast<char>(language.number)));
    // The password dialog, three tabs, the advanced settings dialog and the
    // flash ID editor.
    std::ostringstream visited;
    for (const std::string& window : seen) {
        visited << window << "; ";
    }
    EXPECT_EQ(6u, seen.size()) << "windows checked: " << visited.str();
}

#endif  // _WIN32

}  // namespace

// A known caption line at the pages' font, Times New Roman 9: as wide as
// Liberation Serif draws it (the face with Times New Roman's metrics), not
// as the fallback sans face would.
TEST(FontMetrics, TimesNewRomanMeasuresAsLiberationSerif) {
#ifndef _WIN32
    GTEST_SKIP() << kNoRealFonts;
#else
    if (!textfit::IsInstalled("Liberation Serif")) {
        if (textfit::IsInstalled("Times New Roman")) {
            GTEST_SKIP() << "Times New Roman itself is installed: its widths are the real ones";
        }
        FAIL() << "neither Times New Roman nor Liberation Serif (fonts-liberation, "
                  "scripts/bootstrap) is installed";
    }
    const std::string line = "Special Sorting Class Check, Data Retain Check, Fixed Cap Check";
    std::string chosen;
    const SIZE times = textfit::Measure("Times New Roman", 9, line, &chosen);
    const SIZE liberation = textfit::Measure("Liberation Serif", 9, line, nullptr);
    const SIZE sans = textfit::Measure("DejaVu Sans", 9, line, nullptr);
    EXPECT_EQ(liberation.cx, times.cx) << "Times New Roman 9 is drawn in " << chosen;
    EXPECT_EQ(liberation.cy, times.cy);
    EXPECT_GT(sans.cx, liberation.cx) << "the sans face measures no wider: the check tells nothing";
#endif
}

TEST(TextFit, EveryWindowInEnglish) {
#ifndef _WIN32
    GTEST_SKIP() << kNoRealFonts;
#else
    CheckEveryWindow(kLanguages[0]);
#endif
}

TEST(TextFit, EveryWindowInSimplifiedChinese) {
#ifndef _WIN32
    GTEST_SKIP() << kNoRealFonts;
#else
    CheckEveryWindow(kLanguages[1]);
#endif
}

TEST(TextFit, EveryWindowInTraditionalChinese) {
#ifndef _WIN32
    GTEST_SKIP() << kNoRealFonts;
#else
    CheckEveryWindow(kLanguages[2]);
#endif
}
