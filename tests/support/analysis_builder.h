#pragma once

// Writes a realistic analysis into a data file through the model: FMUs with their NVC and
// cost tables, a resource list, objectives and safety issues with priorities, values at risk,
// alternatives with and without a Fallback, every cost source, ratings, protection levels and
// resource lines.

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

struct AnalysisSize {
    int alternatives;
    int fmus;
    int valuesAtRisk;
    int objectives;
    int safetyIssues;
    int resourceLines;
    // Every name (FMUs, resource types, criteria, values at risk, alternatives) 150 characters
    // long, and amounts of nine digits.
    bool longNames = false;
};

inline constexpr AnalysisSize kSmallAnalysis{4, 2, 5, 6, 2, 12};
inline constexpr AnalysisSize kLargeAnalysis{26, 20, 200, 60, 20, 2000};
inline constexpr AnalysisSize kLongNamesAnalysis{5, 5, 12, 8, 4, 20, true};

// Clears every model cache, as loading or closing a file does.
void ClearModelCaches();

// Builds the analysis in the open data file, in one transaction, and clears the caches.
void BuildAnalysis(const AnalysisSize& size);

// Writes the fire's general information and six situation topics, some with instructions,
// each narrative a few paragraphs, into the open data file.
void BuildSituation();

// Gives every name a user types in the open data file (areas, FMUs, values at risk, objectives,
// safety issues, alternatives, resource types, topics) 150 characters, alike but for their
// ends, and every amount of money nine digits or ten (those typed and those they make), with
// fire sizes of six digits and resource quantities of four: the analysis every layout must
// hold. Clears the caches.
void LengthenEntries();
// Whether the text holds one of the names LengthenEntries writes.
bool IsLongEntry(const QString& text);

// Copies the template to path, opens it, builds the analysis and closes the file again.
// Returns false (with a reason in *error) when the copy or the open fails.
bool CreateAnalysisFile(const QString& templatePath, const QString& path, const AnalysisSize& size,
                        QString* error = nullptr);

// An analysis built in a temporary folder from the program folder's template and left open
// while the object lives (benchmarks); ok() is false, with the reason on stderr, when it
// could not be built or opened.
class OpenAnalysis {
public:
    explicit OpenAnalysis(const AnalysisSize& size);
    ~OpenAnalysis();
    bool ok() const { return mOk; }
    QString path() const { return mPath; }

private:
    QTemporaryDir mDir;
    QString mPath;
    bool mOk = false;
};

// An alternative with a typed-in Target cost and, where asked, a Fallback of its own cost.
struct CostedAlternative {
    QString heading;
    double targetCost = 0;
    int targetSuccess = 100;
    int fallbackSuccess = -1;   // -1: no Fallback
    double fallbackCost = 0;
};
// Writes it through the model, named "A", "B", ... in order of adding; returns its key.
int AddCostedAlternative(const CostedAlternative& alternative);

// Computes what the comparison matrix shows for every alternative (every expected value, by
// objective, category and safety issue) and the least-cost alternative; returns their sum.
double ComputeMatrix();

} // namespace testsupport
