#pragma once

#include <QList>
#include <QString>

#include <array>

// The two complexity tables of a data file, as the complexity worksheets read them:
// ComplexityCategories (Key 1 to 8, Name, Rating) and ComplexityFactors (CategoryKey,
// FactorNumber, Name, Rating), one row per element, read and written for the complexity
// worksheets and the report.
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
Tallies CountElements();

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
QList<ChecklistCategory> ReadChecklist();

// The element numbers of the category in order, also when a file lacks element 1 or has gaps.
QList<int> ElementNumbers(int category);
// The category's elements of those numbers, in that order; a number without a row reads as an
// element without a name, not present.
QList<ChecklistElement> ReadElements(int category, const QList<int>& numbers);
// Stores the category's rating where its row holds another.
void StoreCategoryRating(int category, Level level);
// Each writes the element's row; a number without a row is passed over.
void StoreElementName(int category, int number, const QString& name);
void StoreElementRating(int category, int number, int rating);
void DeleteElement(int category, int number);
// A new element row of that number, unnamed and present.
void AddElement(int category, int number);

// The present elements of categories 1 to 8 in table order, each with the name of its category
// (its fixed caption where the row names none).
struct SelectedElement {
    QString category;
    QString name;
};
QList<SelectedElement> SelectedElements();

} // namespace model::complexity
