#include "model/complexitytables.h"

#include "core/u19rowdata.h"
#include "platform/dao/dao.h"

namespace model::complexity {

namespace {

struct CategoryInfo {
    const char* caption;
    int permanent;
};

constexpr std::array<CategoryInfo, kCategoryCount> kCategories = {{
    {" Fire Behavior", 4},
    {" Resources Committed", 5},
    {" Resources Threatened", 6},
    {" Safety", 5},
    {" Ownership", 5},
    {" External Influences", 6},
    {" Change in Strategy", 3},
    {" Existing Overhead", 4},
}};

} // namespace

bool ValidCategory(int category) { return category >= 1 && category <= kCategoryCount; }

QString CategoryCaption(int category)
{
    return ValidCategory(category) ? QString::fromLatin1(kCategories[size_t(category - 1)].caption) : QString();
}

int PermanentElements(int category) { return ValidCategory(category) ? kCategories[size_t(category - 1)].permanent : 0; }

Level Rate(const Tally& tally)
{
    if (tally.yes <= 0)
        return Level::Low;
    // Exactly one half is still Med.
    return 2 * tally.yes <= tally.elements ? Level::Med : Level::High;
}

QString RatingCaption(const Tally& tally)
{
    static const char* const kWords[] = {"Low    ", "Med    ", "High   "};
    return QString::fromLatin1(kWords[int(Rate(tally))]) + QString::number(tally.yes) + QLatin1Char('/')
           + QString::number(tally.elements);
}

Tallies CountElements(dao::Database& db)
{
    Tallies tallies{};
    auto rs = db.OpenTable(QStringLiteral("ComplexityFactors"));
    if (rs->RecordCount() > 0) {
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const int category = core::GetFieldLong(*rs, QStringLiteral("CategoryKey"));
            if (!ValidCategory(category))
                continue;
            Tally& t = tallies[size_t(category)];
            ++t.elements;
            if (IsYes(core::GetFieldLong(*rs, QStringLiteral("Rating"))))
                ++t.yes;
        }
    }
    rs->Close();
    return tallies;
}

QList<ChecklistCategory> ReadChecklist(dao::Database& db)
{
    QList<ChecklistCategory> checklist;
    auto categories = db.OpenTable(QStringLiteral("ComplexityCategories"));
    categories->SetIndex(QStringLiteral("PrimaryKey"));
    if (categories->RecordCount() > 0) {
        for (categories->MoveFirst(); !categories->Eof(); categories->MoveNext()) {
            ChecklistCategory category;
            category.key = core::GetFieldLong(*categories, QStringLiteral("Key"));
            category.name = core::GetFieldText(*categories, QStringLiteral("Name"));
            checklist.append(category);
        }
    }
    categories->Close();
    for (ChecklistCategory& category : checklist) {
        auto rs = db.OpenRecordset(QStringLiteral("SELECT FactorNumber, Name, Rating FROM ComplexityFactors "
                                                  "WHERE CategoryKey = ? ORDER BY FactorNumber"),
                                   {category.key});
        for (; !rs->Eof(); rs->MoveNext())
            category.elements.append({core::GetFieldLong(*rs, QStringLiteral("FactorNumber")),
                                      core::GetFieldText(*rs, QStringLiteral("Name")),
                                      core::GetFieldLong(*rs, QStringLiteral("Rating"))});
        rs->Close();
    }
    return checklist;
}

} // namespace model::complexity
