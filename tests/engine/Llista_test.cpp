// The engine's list and its iterator: the walks, insertions and removals that the
// neighbour lists, the search queue and the connection lists rely on.
#include "engine/Llista.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using engine::IteradorLlista;
using engine::Llista;

std::vector<int> values(Llista<int>& list) {
    std::vector<int> result;
    for (IteradorLlista<int> at(list); !at.atEnd(); at.next()) result.push_back(at.current());
    return result;
}

// Walks both directions and checks the sentinel and link invariants.
void expectConsistent(const Llista<int>& list) {
    ASSERT_EQ(list.head->prev, nullptr);
    ASSERT_EQ(list.tail->next, nullptr);
    int forward = 0;
    for (auto* node = list.head; node != list.tail; node = node->next) {
        ASSERT_EQ(node->next->prev, node);
        if (node != list.head) ++forward;
    }
    int backward = 0;
    for (auto* node = list.tail->prev; node != list.head; node = node->prev) ++backward;
    EXPECT_EQ(forward, list.count);
    EXPECT_EQ(backward, list.count);
}

Llista<int>* listOf(std::initializer_list<int> items) {
    auto* list = new Llista<int>();
    for (int item : items) list->pushBack(item);
    return list;
}

TEST(Llista, NewListIsEmptyAndAFreshIteratorIsBothAtStartAndAtEnd) {
    Llista<int> list;
    IteradorLlista<int> at(list);
    EXPECT_TRUE(at.atEnd());
    EXPECT_TRUE(at.atStart());
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head->next, list.tail);
    EXPECT_EQ(list.tail->prev, list.head);
}

TEST(Llista, PushFrontThenPopFrontLeavesAConsistentEmptyList) {
    Llista<int> list;
    list.pushFront(4);
    int value = 0;
    list.front(value);
    EXPECT_EQ(value, 4);
    list.popFront();
    expectConsistent(list);
    EXPECT_EQ(list.head->next, list.tail);
    EXPECT_EQ(list.tail->prev, list.head);
}

TEST(Llista, PushFrontOnAFilledListKeepsBackLinksSoTheBackStillWorks) {
    Llista<int> list;
    list.pushBack(2);
    list.pushFront(1);
    list.pushBack(3);
    expectConsistent(list);
    IteradorLlista<int> at(list);
    at.toEnd();
    EXPECT_TRUE(at.atEnd());
    list.insertAt(4, at);
    list.popFront();
    expectConsistent(list);
    EXPECT_EQ(values(list), (std::vector<int>{2, 3, 4}));
}

TEST(Llista, QueueOrderIsFirstInFirstOut) {
    Llista<int> queue;
    queue.pushFront(0);
    queue.pushBack(1);
    queue.pushBack(2);
    std::vector<int> taken;
    while (queue.count > 0) {
        int value = -1;
        queue.front(value);
        queue.popFront();
        taken.push_back(value);
    }
    EXPECT_EQ(taken, (std::vector<int>{0, 1, 2}));
    expectConsistent(queue);
}

TEST(Llista, RemoveAtTheLastElementLeavesTheIteratorAtTheEnd) {
    std::unique_ptr<Llista<int>> list(listOf({1, 2, 3}));
    IteradorLlista<int> at(*list);
    at.next();
    at.next();
    list->removeAt(at);
    EXPECT_TRUE(at.atEnd());
    EXPECT_EQ(values(*list), (std::vector<int>{1, 2}));
    expectConsistent(*list);
}

TEST(Llista, RemoveAtInTheMiddleMakesTheFollowingElementCurrent) {
    std::unique_ptr<Llista<int>> list(listOf({1, 2, 3}));
    IteradorLlista<int> at(*list);
    at.next();
    list->removeAt(at);
    EXPECT_EQ(at.current(), 3);
    EXPECT_EQ(values(*list), (std::vector<int>{1, 3}));
}

TEST(Llista, InsertAtTheEndAppendsAndRepeatedInsertsKeepTheirOrder) {
    std::unique_ptr<Llista<int>> list(listOf({1}));
    IteradorLlista<int> at(*list);
    at.toEnd();
    list->insertAt(2, at);
    list->insertAt(3, at);
    EXPECT_TRUE(at.atEnd());
    EXPECT_EQ(values(*list), (std::vector<int>{1, 2, 3}));

    IteradorLlista<int> front(*list);
    list->insertAt(8, front);
    list->insertAt(9, front);
    EXPECT_EQ(front.current(), 1);
    EXPECT_EQ(values(*list), (std::vector<int>{8, 9, 1, 2, 3}));
    expectConsistent(*list);
}

TEST(Llista, AssignCopiesInOrderAndLeavesTheSourceUnchanged) {
    std::unique_ptr<Llista<int>> source(listOf({5, 1, 7}));
    std::unique_ptr<Llista<int>> target(listOf({9, 9}));
    target->assign(*source);
    EXPECT_EQ(values(*target), (std::vector<int>{5, 1, 7}));
    EXPECT_EQ(values(*source), (std::vector<int>{5, 1, 7}));
    target->clear();
    EXPECT_EQ(target->count, 0);
    expectConsistent(*target);
    target->pushBack(6);
    EXPECT_EQ(values(*target), (std::vector<int>{6}));
}

TEST(Llista, PostIncrementReturnsAnIteratorOnThePreviousElement) {
    std::unique_ptr<Llista<int>> list(listOf({10, 20}));
    IteradorLlista<int> at(*list);
    std::unique_ptr<engine::Iterador<int>> previous = at.postIncrement();
    EXPECT_EQ(previous->current(), 10);
    EXPECT_TRUE(previous->atStart());
    EXPECT_EQ(at.current(), 20);
    EXPECT_FALSE(at.atStart());
    at.first();
    EXPECT_EQ(at.current(), 10);
}

TEST(Llista, AFailedAllocationThrowsNoMemAndLeavesTheListUnchanged) {
    std::unique_ptr<Llista<int>> list(listOf({1, 2}));
    {
        engine::ScopedAllocationFailure failure(0);
        EXPECT_THROW(list->pushBack(3), Llista<int>::noMem);
        EXPECT_THROW(list->pushFront(0), Llista<int>::noMem);
        IteradorLlista<int> at(*list);
        EXPECT_THROW(list->insertAt(0, at), Llista<int>::noMem);
        EXPECT_THROW(Llista<int>(), Llista<int>::noMem);
    }
    {
        engine::ScopedAllocationFailure failure(1);  // the front sentinel only
        EXPECT_THROW(Llista<int>(), Llista<int>::noMem);
    }
    EXPECT_EQ(values(*list), (std::vector<int>{1, 2}));
    expectConsistent(*list);
}

}  // namespace
