#pragma once
// NotificationCenter.Publisher: the notifications of a centre as a publisher that
// never fails. One subscription observes every name given (so it stands for the merge
// of one publisher per name) for an object, or for any object when none is given, and
// delivers each notification on the posting thread while demand lasts. Cancelling
// removes the observations.
// Thread: any (as the centre).

#include <memory>
#include <string>
#include <vector>

#include "Combine/Combine.h"
#include "Foundation/NotificationCenter.h"

AnyPublisher<Notification> notificationPublisher(NotificationCenter& center,
                                                 std::vector<std::string> names,
                                                 std::shared_ptr<NSObject> object = nullptr);
