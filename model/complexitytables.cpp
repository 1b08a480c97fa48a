#include "model/complexitytables.h"

#include "core/u19rowdata.h"
#include "model/modeldata.h"

namespace model::complexity {

namespace {

const QString kFactorsTable = QStringLiteral("ComplexityFactors");
const QString kCategoriesTable = QStringLiteral("ComplexityCategories");

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

Tallies CountElements()
{
    Tallies tallies{};
    auto rs = Db().OpenTable(kFactorsTable);
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

QList<ChecklistCategory> ReadChecklist()
{
    dao::Database& db = Db();
    QList<ChecklistCategory> checklist;
    auto categories = db.OpenTable(kCategoriesTable);
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

QList<int> ElementNumbers(int category)
{
    QList<int> numbers;
    auto rs = Db().OpenRecordset(
        QStringLiteral("SELECT FactorNumber FROM ComplexityFactors WHERE CategoryKey = ? ORDER BY FactorNumber"),
        {category});
    for (; !rs->Eof(); rs->MoveNext())
        numbers << core::GetFieldLong(*rs, QStringLiteral("FactorNumber"));
    rs->Close();
    return numbers;
}

QList<ChecklistElement> ReadElements(int category, const QList<int>& numbers)
{
    QList<ChecklistElement> elements;
    auto rs = Db().OpenTable(kFactorsTable);
    for (int number : numbers) {
        rs->Seek(category, number);
        elements.append({number, core::GetFieldText(*rs, QStringLiteral("Name")),
                         core::GetFieldLong(*rs, QStringLiteral("Rating"))});
    }
    rs->Close();
    return elements;
}

void StoreCategoryRating(int category, Level level)
{
    const int code = int(level);
    auto rs = Db().OpenTable(kCategoriesTable);
    rs->Seek(category);
    if (!rs->NoMatch() && core::GetFieldLong(*rs, QStringLiteral("Rating")) != code) {
        rs->Edit();
        rs->SetField(QStringLiteral("Rating"), code);
        rs->Update();
    }
    rs->Close();
}

namespace {

void StoreElementField(int category, int number, const QString& field, const QVariant& value)
{
    auto rs = Db().OpenTable(kFactorsTable);
    rs->Seek(category, number);
    if (!rs->NoMatch()) {
        rs->Edit();
        rs->SetField(field, value);
        rs->Update();
    }
    rs->Close();
}

} // namespace

void StoreElementName(int category, int number, const QString& name)
{
    StoreElementField(category, number, QStringLiteral("Name"), name);
}

void StoreElementRating(int category, int number, int rating)
{
    StoreElementField(category, number, QStringLiteral("Rating"), rating);
}

void DeleteElement(int category, int number)
{
    auto rs = Db().OpenTable(kFactorsTable);
    rs->Seek(category, number);
    if (!rs->NoMatch())
        rs->Delete();
    rs->Close();
}

void AddElement(int category, int number)
{
    auto rs = Db().OpenTable(kFactorsTable);
    rs->AddNew();
    rs->SetField(QStringLiteral("CategoryKey"), category);
    rs->SetField(QStringLiteral("FactorNumber"), number);
    rs->SetField(QStringLiteral("Rating"), kYesRating);
    rs->Update();
    rs->Close();
}

QList<SelectedElement> SelectedElements()
{
    QList<SelectedElement> selected;
    dao::Database& db = Db();
    auto categories = db.OpenTable(kCategoriesTable);
    auto factors = db.OpenTable(kFactorsTable);
    if (factors->RecordCount() > 0) {
        for (factors->MoveFirst(); !factors->Eof(); factors->MoveNext()) {
            const int category = core::GetFieldLong(*factors, QStringLiteral("CategoryKey"));
            if (!ValidCategory(category) || !IsYes(core::GetFieldLong(*factors, QStringLiteral("Rating"))))
                continue;
            categories->Seek(category);
            QString name = core::GetFieldText(*categories, QStringLiteral("Name"));
            if (name.isEmpty())
                name = CategoryCaption(category);
            selected.append({name, core::GetFieldText(*factors, QStringLiteral("Name"))});
        }
    }
    factors->Close();
    categories->Close();
    return selected;
}

} // namespace model::complexity
