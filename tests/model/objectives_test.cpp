#include "core/u91trace.h"
#include "model/c61ratinglist.h"
#include "model/g62ratings.h"
#include "model/keyedlist.h"
#include "model_tables_fixture.h"

#include <QFile>

#include <limits>
#include <map>
#include <stdexcept>
#include <vector>

using namespace model;

namespace {

// A small tree: root 1 -> categories 3 (objectives 10, 11) and 4 (none);
// root 2 -> safety issues 20, 21, 22.
class ObjectiveTree : public ModelTablesFixture {
protected:
    void SetUp() override
    {
        ModelTablesFixture::SetUp();
        writeTree();
    }

    void writeTree()
    {
        db().Execute("DELETE FROM Objectives");
        const QVariantList rows[] = {
            // Key, Name, ParentKey, ChildKey, SiblingKey, Priority
            {1, "Objectives", 0, 3, 0, 10},
            {2, "Safety", 0, 20, 0, 10},
            {3, "Resources", 1, 10, 4, 10},
            {4, "Economic", 1, 0, 0, 10},
            {10, "Protect habitat", 3, 0, 11, 4},
            {11, "Protect water", 3, 0, 0, 6},
            {20, "Firefighters", 2, 0, 21, 10},
            {21, "Public", 2, 0, 22, 10},
            {22, "Aviation", 2, 0, 0, 5},
        };
        for (const QVariantList& r : rows)
            db().Execute("INSERT INTO Objectives (\"Key\", Name, ParentKey, ChildKey, SiblingKey, Priority) "
                         "VALUES (?, ?, ?, ?, ?, ?)",
                         r);
    }

    QList<int> keys(const QList<c41Objective*>& nodes)
    {
        QList<int> k;
        for (const c41Objective* n : nodes)
            k.append(n->ItemKey());
        return k;
    }
    int field(int key, const char* name)
    {
        auto rs = db().OpenTable("Objectives");
        rs->Seek(key);
        return rs->NoMatch() ? -999 : rs->Field(name).toInt();
    }
    void setPriority(int key, int priority)
    {
        db().Execute("UPDATE Objectives SET Priority = ? WHERE \"Key\" = ?", {priority, key});
        ClearObjectives();
        ClearSafetyIssues();
    }
    void score(int outcome, int criterion, float value)
    {
        db().Execute("INSERT OR REPLACE INTO Scores (OutcomeKey, CriterionKey, Value) VALUES (?, ?, ?)",
                     {outcome, criterion, value});
    }
};

TEST_F(ObjectiveTree, TreesLoadInPreOrderAndKindsFollowTheKeys)
{
    EXPECT_EQ(keys(ObjectivesCollection()), (QList<int>{1, 3, 10, 11, 4}));
    EXPECT_EQ(keys(SafetyIssuesCollection()), (QList<int>{2, 20, 21, 22}));
    EXPECT_EQ(KeyText(12), "k12");
    EXPECT_TRUE(GetObjective(1)->bRoot());
    EXPECT_TRUE(GetObjective(3)->bCategory());
    EXPECT_TRUE(GetObjective(10)->bObjective());
    EXPECT_TRUE(GetSafetyIssue(2)->bSafetyRoot());
    EXPECT_TRUE(GetSafetyIssue(21)->bSafetyIssue() && GetSafetyIssue(21)->bSafetyCategory());
    EXPECT_FALSE(GetSafetyIssue(21)->bObjective());
    EXPECT_EQ(GetObjective(11)->ItemName(), "Protect water");
    EXPECT_EQ(keys(GetObjective(3)->GetChildren()), (QList<int>{10, 11}));
    EXPECT_EQ(GetObjective(3)->ChildrenPriorities(), 10);
    EXPECT_TRUE(GetSafetyIssue(2)->GetChildren().isEmpty()) << "children are looked up in the objectives tree";
    EXPECT_THROW(GetObjective(20), std::out_of_range);
    EXPECT_EQ(keys(GetSafetyRootList()), (QList<int>{2}));
}

// The two trees come from one table: the one loaded second reads the rows as they are by
// then, whatever the first one read.
TEST_F(ObjectiveTree, EachTreeLoadsTheRowsAsTheyAreWhenItIsLoaded)
{
    EXPECT_EQ(GetObjective(10)->ItemName(), "Protect habitat");
    db().Execute("UPDATE Objectives SET Name = 'Crews' WHERE \"Key\" = 20");
    EXPECT_EQ(GetSafetyIssue(20)->ItemName(), "Crews");
    db().Execute("UPDATE Objectives SET Name = 'Habitat' WHERE \"Key\" = 10");
    ClearObjectives();
    EXPECT_EQ(GetObjective(10)->ItemName(), "Habitat");
    EXPECT_EQ(GetSafetyIssue(20)->ItemName(), "Crews");
}

TEST_F(ObjectiveTree, DamagedLinksThatRunInACircleLoadEachNodeOnce)
{
    db().Execute("UPDATE Objectives SET SiblingKey = 10 WHERE \"Key\" = 11");  // 10 -> 11 -> 10
    db().Execute("UPDATE Objectives SET ChildKey = 3 WHERE \"Key\" = 10");     // 10's child is its parent
    db().Execute("UPDATE Objectives SET SiblingKey = 20 WHERE \"Key\" = 22");  // 20 -> 21 -> 22 -> 20
    EXPECT_EQ(keys(ObjectivesCollection()), (QList<int>{1, 3, 10, 11, 4}));
    EXPECT_EQ(keys(SafetyIssuesCollection()), (QList<int>{2, 20, 21, 22}));

    // Adding to a circular chain ends too, and the new node is reachable.
    const int key = AddSafetyIssue("Smoke")->ItemKey();
    ClearSafetyIssues();
    EXPECT_TRUE(keys(SafetyIssuesCollection()).contains(key));
}

struct DamagedLinkCase {
    const char* what;
    const char* update;
    QList<int> objectives;
    QList<int> safety;
    int missing;   // a key that must not be loaded, 0 for none
};

TEST_F(ObjectiveTree, LinkToAMissingRowEndsTheChainWithoutANamelessNode)
{
    const DamagedLinkCase cases[] = {
        {"child missing", "UPDATE Objectives SET ChildKey = 88 WHERE \"Key\" = 4", {1, 3, 10, 11, 4}, {2, 20, 21, 22}, 88},
        {"sibling missing", "UPDATE Objectives SET SiblingKey = 77 WHERE \"Key\" = 11", {1, 3, 10, 11, 4},
         {2, 20, 21, 22}, 77},
        {"sibling missing mid-chain", "UPDATE Objectives SET SiblingKey = 77 WHERE \"Key\" = 20", {1, 3, 10, 11, 4},
         {2, 20}, 77},
        {"first child of the safety root missing", "UPDATE Objectives SET ChildKey = 66 WHERE \"Key\" = 2",
         {1, 3, 10, 11, 4}, {2}, 66},
        {"sibling is itself", "UPDATE Objectives SET SiblingKey = 10 WHERE \"Key\" = 10", {1, 3, 10, 4},
         {2, 20, 21, 22}, 0},
        {"child is itself", "UPDATE Objectives SET ChildKey = 4 WHERE \"Key\" = 4", {1, 3, 10, 11, 4},
         {2, 20, 21, 22}, 0},
    };
    for (const DamagedLinkCase& c : cases) {
        SCOPED_TRACE(c.what);
        writeTree();
        db().Execute(c.update);
        ClearObjectives();
        ClearSafetyIssues();
        EXPECT_EQ(keys(ObjectivesCollection()), c.objectives);
        EXPECT_EQ(keys(SafetyIssuesCollection()), c.safety);
        if (c.missing != 0) {
            EXPECT_THROW(GetObjective(c.missing), std::out_of_range);
            EXPECT_THROW(GetSafetyIssue(c.missing), std::out_of_range);
        }
        // Saving what was loaded adds no row for the dangling key.
        for (c41Objective* node : ObjectivesCollection()) {
            node->SetPriority(node->Priority());
            node->SaveChanges();
        }
        for (c41Objective* node : SafetyIssuesCollection()) {
            node->SetPriority(node->Priority());
            node->SaveChanges();
        }
        auto rs = db().OpenRecordset("SELECT COUNT(*) AS N FROM Objectives");
        EXPECT_EQ(rs->Field("N").toInt(), 9);
    }
}

struct WeightCase {
    const char* name;
    std::vector<std::pair<int, int>> priorities;  // key, priority
    std::vector<std::pair<int, float>> weights;   // key, expected weight
};

TEST_F(ObjectiveTree, WeightsShareThePrioritiesOfTheWholeTree)
{
    const WeightCase cases[] = {
        {"objectives 4 and 6", {}, {{10, 0.4f}, {11, 0.6f}, {1, 1}, {2, 1}, {3, 1.0f}}},
        {"objectives 0 and 0", {{10, 0}, {11, 0}}, {{10, 0.5f}, {11, 0.5f}, {3, 0.5f}}},
        {"safety 10, 10, 5", {}, {{20, 0.4f}, {21, 0.4f}, {22, 0.2f}}},
        {"safety all 0", {{20, 0}, {21, 0}, {22, 0}}, {{20, 1 / 3.0f}, {22, 1 / 3.0f}}},
    };
    for (const WeightCase& c : cases) {
        db().Execute("UPDATE Objectives SET Priority = CASE \"Key\" WHEN 10 THEN 4 WHEN 11 THEN 6 "
                     "WHEN 22 THEN 5 ELSE 10 END");
        for (auto [key, priority] : c.priorities)
            setPriority(key, priority);
        ClearObjectives();
        ClearSafetyIssues();
        for (auto [key, weight] : c.weights) {
            c41Objective* node = (key == 2 || key >= 20) ? GetSafetyIssue(key) : GetObjective(key);
            EXPECT_FLOAT_EQ(node->Weight(), weight) << c.name << ", node " << key;
        }
    }
}

TEST_F(ObjectiveTree, CategoryWeightWithoutAnyObjectiveIsZero)
{
    db().Execute("DELETE FROM Objectives WHERE \"Key\" IN (10, 11)");
    db().Execute("UPDATE Objectives SET ChildKey = 0 WHERE \"Key\" = 3");
    EXPECT_EQ(ObjectiveCount(), 0);
    EXPECT_FLOAT_EQ(GetObjective(3)->Weight(), 0);
    EXPECT_FLOAT_EQ(GetObjective(1)->Weight(), 1);
}

TEST_F(ObjectiveTree, PrioritizedListLeavesOutZeroPrioritiesAndEmptyCategories)
{
    EXPECT_EQ(keys(GetPrioritizedObjectives()), (QList<int>{1, 3, 10, 11}));
    EXPECT_EQ(keys(GetPrioritizedCategories()), (QList<int>{3}));
    setPriority(10, 0);
    EXPECT_EQ(keys(GetPrioritizedObjectives()), (QList<int>{1, 3, 11}));
    setPriority(11, 0);
    EXPECT_EQ(keys(GetPrioritizedObjectives()), (QList<int>{1}));
    EXPECT_EQ(SumObjectivePriorities(), 0);
    EXPECT_EQ(ObjectiveCount(), 2);

    // Changes made in memory, with no reload, show at once.
    GetObjective(10)->SetPriority(5);
    EXPECT_EQ(keys(GetPrioritizedObjectives()), (QList<int>{1, 3, 10}));
    c41Objective* added = AddObjective(QStringLiteral("Added"), 3);
    EXPECT_EQ(keys(GetPrioritizedObjectives()), (QList<int>{1, 3, 10}));
    added->SetPriority(2);
    EXPECT_EQ(keys(GetPrioritizedObjectives()), (QList<int>{1, 3, 10, added->ItemKey()}));
    DeleteObjective(10);
    EXPECT_EQ(keys(GetPrioritizedObjectives()), (QList<int>{1, 3, added->ItemKey()}));
}

TEST_F(ObjectiveTree, NewNodesGoToTheEndOfTheirParentsChain)
{
    c41Objective* first = AddObjective("", 4);  // parent without children
    EXPECT_EQ(field(4, "ChildKey"), first->ItemKey());
    EXPECT_EQ(field(first->ItemKey(), "SiblingKey"), 0);
    EXPECT_EQ(field(first->ItemKey(), "Priority"), 0);
    EXPECT_EQ(first, GetObjective(first->ItemKey()));

    const int second = AddObjective("Keep jobs", 4)->ItemKey();
    EXPECT_EQ(field(first->ItemKey(), "SiblingKey"), second);

    c41Objective* issue = AddSafetyIssue("", 2);
    EXPECT_EQ(field(22, "SiblingKey"), issue->ItemKey());
    EXPECT_EQ(field(issue->ItemKey(), "Priority"), 10);
    EXPECT_EQ(issue->Priority(), 10);

    const int firstKey = first->ItemKey();
    ClearObjectives();
    EXPECT_EQ(keys(ObjectivesCollection()), (QList<int>{1, 3, 10, 11, 4, firstKey, second}));
    EXPECT_EQ(GetObjective(second)->ItemName(), "Keep jobs");
    EXPECT_EQ(GetObjective(second)->Description().size(), 161);
    EXPECT_THROW(AddObjective("", 999), std::invalid_argument);
}

TEST_F(ObjectiveTree, NodeHeldAcrossTheClearAfterAnAddIsStillSaved)
{
    // The worksheets' add: the current node is kept while the tree is cleared and refilled.
    c41Objective* current = GetObjective(10);
    c41Objective* issue = GetSafetyIssue(21);
    const int added = AddObjective("", 3)->ItemKey();
    AddSafetyIssue("", 2);
    ClearObjectives();
    ClearSafetyIssues();
    ASSERT_EQ(keys(ObjectivesCollection()).size(), 6);
    current->SetItemName("Protect trout streams");
    current->SaveChanges();
    issue->SetPriority(3);
    issue->SaveChanges();
    EXPECT_EQ(GetObjective(added)->ParentKey(), 3);

    ClearObjectives();
    ClearSafetyIssues();
    EXPECT_EQ(GetObjective(10)->ItemName(), "Protect trout streams");
    EXPECT_EQ(GetSafetyIssue(21)->Priority(), 3);
}

TEST_F(ObjectiveTree, SaveWritesNameExplanationAndPriority)
{
    c41Objective* node = GetObjective(10);
    node->SetPriority(node->Priority());
    EXPECT_TRUE(node->Changed());
    node->SetItemName("Protect elk habitat");
    node->SetDescription("{\\rtf1 elk\\par }");
    node->SetPriority(8);
    node->SaveChanges();
    ClearObjectives();
    EXPECT_EQ(GetObjective(10)->ItemName(), "Protect elk habitat");
    EXPECT_EQ(GetObjective(10)->Description(), "{\\rtf1 elk\\par }");
    EXPECT_EQ(GetObjective(10)->Priority(), 8);
    EXPECT_EQ(field(10, "SiblingKey"), 11);
}

TEST_F(ObjectiveTree, DeletingRelinksTheChainAndDropsTheScores)
{
    score(5, 10, 7);
    score(6, 10, 3);
    score(5, 11, 2);
    DeleteObjective(10);  // first of two: the parent's ChildKey moves on
    EXPECT_EQ(field(3, "ChildKey"), 11);
    EXPECT_EQ(field(10, "Key"), -999);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Scores WHERE CriterionKey = 10"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Scores"), 1);
    EXPECT_EQ(keys(ObjectivesCollection()), (QList<int>{1, 3, 11, 4}));

    DeleteObjective(11);  // the only child
    EXPECT_EQ(field(3, "ChildKey"), 0);

    DeleteSafetyIssue(21);  // in the middle
    EXPECT_EQ(field(20, "SiblingKey"), 22);
    ClearSafetyIssues();
    EXPECT_EQ(keys(SafetyIssuesCollection()), (QList<int>{2, 20, 22}));
}

TEST_F(ObjectiveTree, NodeMissingFromItsParentsChainIsReportedAndLeavesTheLinks)
{
    db().Execute("INSERT INTO Objectives (\"Key\", Name, ParentKey, ChildKey, SiblingKey, Priority) "
                 "VALUES (12, 'Stray', 3, 0, 0, 1)");
    GetObjectives();
    ClearObjectives();
    // Not reachable from 3: load it by hand, as a stale worksheet might hold it.
    c41Objective stray;
    stray.Initialize(12, "Stray", "", 1, 3);
    stray.Delete();
    EXPECT_EQ(field(12, "Key"), -999);
    EXPECT_EQ(field(3, "ChildKey"), 10);
    EXPECT_EQ(field(10, "SiblingKey"), 11);
    EXPECT_EQ(field(11, "SiblingKey"), 0);
    QFile log(core::LogFolder() + "/ERROR.LOG");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("ChildLink between 3 and 12 not found"));
}

// Keys close together, far apart and at the ends of the range; a key added after the first
// finds is found too.
TEST(RatingsByKey, FindsEveryKeyAddedAndNoOther)
{
    const int lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    const std::vector<int> keySets[] = {{3, 4, 5, 7, 10}, {1000000, 1, -5}, {highest, lowest, 0}};
    for (const std::vector<int>& keys : keySets) {
        RatingsByKey list;
        list.Reserve(int(keys.size()) + 1);
        std::map<int, c62Rating*> added;
        bool isNew = false;
        for (const int key : keys)
            added[key] = list.Add(key, &isNew);
        EXPECT_EQ(list.Add(keys.front(), &isNew), added[keys.front()]);
        EXPECT_FALSE(isNew);
        for (const int probe : {lowest, lowest + 1, -6, -5, -4, 0, 1, 2, 3, 6, 7, 8, 10, 11, 999999, 1000000, highest - 1, highest}) {
            const auto it = added.find(probe);
            EXPECT_EQ(list.Find(probe), it == added.end() ? nullptr : it->second) << probe;
        }
        c62Rating* late = list.Add(6, &isNew);
        EXPECT_TRUE(isNew);
        EXPECT_EQ(list.Find(6), late);
        EXPECT_EQ(list.Find(keys.back()), added[keys.back()]);
    }
    EXPECT_EQ(RatingsByKey().Find(0), nullptr);
}

class Ratings : public ObjectiveTree {};

TEST_F(Ratings, SmallRatedTreeGivesCategoryTotalAndSafetyScores)
{
    score(5, 10, 5);
    score(5, 11, 10);
    score(5, 3, 9);  // a category reads no row
    score(5, 20, 3);
    score(5, 21, 6);
    score(5, 22, 9);
    c61RatingList list;
    list.Initialize(5);
    EXPECT_EQ(list.ObjectiveRatings().Count(), 4);
    EXPECT_FLOAT_EQ(list.RawObjScore(3), 0);
    EXPECT_FLOAT_EQ(list.WeightedObjScore(10), 2);
    EXPECT_FLOAT_EQ(list.WeightedObjScore(11), 6);
    EXPECT_FLOAT_EQ(list.CategoryScore(3), 8);
    EXPECT_FLOAT_EQ(list.TotalScore(), 8);
    EXPECT_FLOAT_EQ(list.SafetyScore(), 0.4f * 3 + 0.4f * 6 + 0.2f * 9);
    EXPECT_FLOAT_EQ(list.RawSafetyScore(22), 9);
    EXPECT_FLOAT_EQ(list.RawObjScore(4), 0) << "a category without rated objectives has no rating";

    // Weights are looked up afresh: equal safety priorities give the plain mean.
    for (int k : {20, 21, 22})
        GetSafetyIssue(k)->SetPriority(0);
    EXPECT_FLOAT_EQ(list.SafetyScore(), 6);
    EXPECT_FLOAT_EQ(list.WeightedSafetyScore(22), 3);

    // With every objective priority 0 only the root is rated.
    setPriority(10, 0);
    setPriority(11, 0);
    list.Initialize(5);
    EXPECT_EQ(list.ObjectiveRatings().Count(), 1);
    EXPECT_FLOAT_EQ(list.TotalScore(), 0);
}

// Outcomes of one tree hold the same criteria: each list still has its own outcome, scores and
// categories' children, also when a list is made again between the others.
TEST_F(Ratings, OutcomesOfOneTreeEachKeepTheirOwnScores)
{
    struct Case { int outcome; float habitat, water, firefighters; };
    const Case cases[] = {{5, 5, 10, 3}, {6, 1, 0, 9}, {7, 0, 7, 0}};
    for (const Case& c : cases) {
        score(c.outcome, 10, c.habitat);
        score(c.outcome, 11, c.water);
        score(c.outcome, 20, c.firefighters);
    }
    c61RatingList lists[3];
    for (int i = 0; i < 3; ++i)
        lists[i].Initialize(cases[i].outcome);
    lists[0].Initialize(cases[0].outcome);
    for (int i = 0; i < 3; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.outcome);
        for (const RatingsByKey* ratings : {&lists[i].ObjectiveRatings(), &lists[i].SafetyRatings()})
            for (const c62Rating* r : *ratings)
                EXPECT_EQ(r->OutcomeKey(), c.outcome);
        EXPECT_FLOAT_EQ(lists[i].RawObjScore(10), c.habitat);
        EXPECT_FLOAT_EQ(lists[i].CategoryScore(3), 0.4f * c.habitat + 0.6f * c.water);
        EXPECT_FLOAT_EQ(lists[i].TotalScore(), 0.4f * c.habitat + 0.6f * c.water);
        EXPECT_FLOAT_EQ(lists[i].RawSafetyScore(20), c.firefighters);
        EXPECT_FLOAT_EQ(lists[i].SafetyScore(), 0.4f * c.firefighters);
        const c62Rating* category = lists[i].ObjectiveRatings().Find(3);
        ASSERT_NE(category, nullptr);
        for (const c62Rating* child : category->Children())
            EXPECT_EQ(child, lists[i].ObjectiveRatings().Find(child->CriterionKey()));
    }
}

TEST_F(Ratings, ObjectiveOfAnUnprioritizedCategoryCountsForItsOwnCategory)
{
    const int jobs = AddObjective("Jobs", 4)->ItemKey();
    GetObjective(jobs)->SetPriority(10);
    GetObjective(jobs)->SaveChanges();
    setPriority(4, 0);  // category 4 drops out of the prioritized list, its objective does not
    score(5, 10, 5);
    score(5, 11, 10);
    score(5, jobs, 4);
    c61RatingList list;
    list.Initialize(5);
    // Weights: 4, 6 and 10 over 20.
    EXPECT_FLOAT_EQ(list.CategoryScore(3), 0.2f * 5 + 0.3f * 10);
    EXPECT_FLOAT_EQ(list.CategoryScore(4), 0.5f * 4);
    EXPECT_FLOAT_EQ(list.TotalScore(), 4 + 2);
}

TEST_F(Ratings, PrioritiesChangedWhileTheOutcomeIsKeptAreSeenByItsScores)
{
    setPriority(10, 0);
    score(5, 10, 5);
    score(5, 11, 10);
    c61RatingList list;
    list.Initialize(5);
    EXPECT_FLOAT_EQ(list.TotalScore(), 10);

    // The prioritizing page edits the loaded tree and keeps the outcomes and their ratings.
    GetObjective(10)->SetPriority(4);
    EXPECT_FLOAT_EQ(list.TotalScore(), 0.4f * 5 + 0.6f * 10);
    EXPECT_FLOAT_EQ(list.RawObjScore(10), 5);
    EXPECT_FLOAT_EQ(list.WeightedObjScore(10), 2);
    EXPECT_FLOAT_EQ(list.CategoryScore(3), 8);

    // Criteria without a rating score nothing.
    EXPECT_FLOAT_EQ(list.CategoryScore(4), 0);
    EXPECT_FLOAT_EQ(list.WeightedObjScore(999), 0);
    EXPECT_FLOAT_EQ(list.RawSafetyScore(999), 0);
}

TEST_F(Ratings, CriterionDeletedAfterTheListWasBuiltNoLongerCounts)
{
    score(5, 10, 5);
    score(5, 11, 10);
    c61RatingList list;
    list.Initialize(5);
    DeleteObjective(10);
    EXPECT_FLOAT_EQ(list.TotalScore(), 10);  // 11 alone now weighs 1

    // Also when the scores were asked for before the deletion.
    c61RatingList asked;
    asked.Initialize(5);
    EXPECT_FLOAT_EQ(asked.TotalScore(), 10);
    c41Objective* trail = AddObjective(QStringLiteral("Protect the trail"), 3);
    trail->SetPriority(4);
    const int trailKey = trail->ItemKey();
    score(5, trailKey, 5);
    asked.Initialize(5);
    EXPECT_FLOAT_EQ(asked.TotalScore(), 0.4f * 5 + 0.6f * 10);
    DeleteObjective(trailKey);
    EXPECT_FLOAT_EQ(asked.TotalScore(), 10);
    EXPECT_FLOAT_EQ(asked.WeightedObjScore(trailKey), 0);
}

TEST_F(Ratings, RatingsWriteOnlyWhenChangedAndRowsGoWithOutcomeOrCriterion)
{
    c62Rating rating;
    rating.Initialize(5, 10, model::Criteria::Objectives, model::RatingLevel::Criterion);
    EXPECT_FLOAT_EQ(rating.RawScore(), 0);
    rating.SaveChanges();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Scores"), 0);
    rating.SetRawScore(7.5f);
    rating.SetDescription("holds the ridge");
    rating.SaveChanges();
    rating.SetRawScore(8);
    rating.SaveChanges();
    c62Rating again;
    again.Initialize(5, 10, model::Criteria::Objectives, model::RatingLevel::Criterion);
    EXPECT_FLOAT_EQ(again.RawScore(), 8);
    EXPECT_EQ(again.Description(), "holds the ridge");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Scores"), 1);

    score(5, 20, 1);
    score(6, 20, 2);
    score(6, 10, 3);
    DeleteOutcomeScores(5);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Scores WHERE OutcomeKey = 5"), 0);
    DeleteCriterionScores(20);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Scores"), 1);
}

TEST_F(Ratings, ObjectiveFiledUnderACategoryThatComesLaterCountsForThatCategory)
{
    // A damaged file: objective 11 sits in category 3's chain but names category 4, which has
    // an objective of its own and comes later in the tree.
    db().Execute("INSERT INTO Objectives (\"Key\", Name, ParentKey, ChildKey, SiblingKey, Priority) "
                 "VALUES (12, 'Jobs', 4, 0, 0, 10)");
    db().Execute("UPDATE Objectives SET ChildKey = 12 WHERE \"Key\" = 4");
    db().Execute("UPDATE Objectives SET ParentKey = 4 WHERE \"Key\" = 11");
    ClearObjectives();
    score(5, 10, 5);
    score(5, 11, 10);
    score(5, 12, 4);
    c61RatingList list;
    list.Initialize(5);
    // Weights: 4, 6 and 10 over 20. Category 4: 0.3 x 10 + 0.5 x 4 = 5; category 3: 0.2 x 5 = 1.
    EXPECT_FLOAT_EQ(list.CategoryScore(4), 5);
    EXPECT_FLOAT_EQ(list.CategoryScore(3), 1);
    EXPECT_FLOAT_EQ(list.TotalScore(), 6);
    EXPECT_EQ(list.ObjectiveRatings().Count(), 6);   // root, 3, 10, 4, 11, 12
}

} // namespace
