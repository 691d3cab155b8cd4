#include "SwiftUI/Transaction.h"

#include <vector>

#include "Runtime/Runtime.h"

namespace SwiftUI {

namespace {
std::vector<Transaction>& stack() {
    static std::vector<Transaction> transactions{Transaction{}};
    return transactions;
}
} // namespace

const Transaction& Transaction::current() {
    return stack().back();
}

void withTransaction(const Transaction& transaction, const std::function<void()>& body) {
    Runtime::assertMainThread("SwiftUI.withTransaction");
    stack().push_back(transaction);
    struct Pop {
        ~Pop() { stack().pop_back(); }
    } pop;
    if (body)
        body();
}

} // namespace SwiftUI
