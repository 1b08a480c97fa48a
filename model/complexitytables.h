#pragma once

#include <QList>
#include <QString>

#include <array>

namespace dao {
class Database;
}

// The two complexity tables of a data file, as the complexity worksheets read them:
// ComplexityCategories (Key 1 to 8, Name, Rating) and ComplexityFactors (CategoryKey,
// FactorNumber, Name, Rating), one row per element. No widgets here.
namespace model::complexity {

inline constexpr int kCategoryCount = 8;

// Element ratings as the program writes them. Files may hold other positive values for a
// present element; every reader goes through IsYes so that the ticks, the counts and the
// ratings always agree.
inline constexpr int kNoRating = 0;
inline constexpr int kYesRating = 2;
inline bool IsYes(int rating) { return rating > 0; }

// Category ratings as stored in ComplexityCategories.Rating.
enum class Level { Low = 0, Med = 1, High = 2 };

struct Tally {
    int elements = 0;
    int yes = 0;
};

// Index 1 to 8; index 0 is unused.
using Tallies = std::array<Tally, kCategoryCount + 1>;

// Low when nothing is present, Med up to one half present, High above that.
Level Rate(const Tally& tally);
// The rating word padded to seven characters, then "yes/elements": "Med    2/4".
QString RatingCaption(const Tally& tally);

// The fixed caption of category 1 to 8, with its leading blank (" Fire Behavior").
QString CategoryCaption(int category);
// Elements of the category that came with the program and cannot be deleted.
int PermanentElements(int category);
bool ValidCategory(int category);

// Counts every element row of categories 1 to 8; rows of other categories are outside the
// data model and not counted.
Tallies CountElements(dao::Database& db);

// The checklist as the report prints it: every category row in key order, each with its
// element rows in element-number order. A category whose numbering has gaps, or lacks element 1,
// still lists every element it has, as the complexity worksheet shows them.
struct ChecklistElement {
    int number = 0;
    QString name;
    int rating = kNoRating;
};
struct ChecklistCategory {
    int key = 0;
    QString name;
    QList<ChecklistElement> elements;
};
QList<ChecklistCategory> ReadChecklist(dao::Database& db);

} // namespace model::complexity
