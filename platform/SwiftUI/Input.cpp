// Pointer input: hit testing, the gesture recognisers and how they compete.

#include <cmath>

#include "SwiftUI/Modifiers.h"
#include "SwiftUI/Views.h"

namespace SwiftUI {

namespace detail {

namespace {

using Kind = Node::GestureAttachment::Kind;

template <class G> const G* currentGesture(const GestureSite& site) {
    auto node = site.node.lock();
    if (!node || !node->attached || site.index >= node->gestures.size())
        return nullptr;
    return dynamic_cast<const G*>(&node->gestures[site.index].gesture.implementation());
}

CGFloat distance(CGPoint a, CGPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

class DragImpl final : public GestureImpl {
  public:
    explicit DragImpl(DragGesture g) : gesture(std::move(g)) {}
    std::unique_ptr<Recognizer> makeRecognizer(GestureSite site) const override;
    CoordinateSpace space() const override { return gesture.coordinateSpace; }
    DragGesture gesture;
};

class DragRecognizer final : public Recognizer {
  public:
    DragRecognizer(GestureSite s, CGFloat minimum) : site(std::move(s)), minimum(minimum) {}
    void handle(PointerPhase phase, const PointerSample& sample) override {
        if (status == Status::failed || status == Status::done)
            return;
        last = sample;
        if (phase == PointerPhase::down) {
            start = sample.location;
            if (minimum <= 0)
                status = Status::ready;
            return;
        }
        if (active) {
            if (phase == PointerPhase::up) {
                fireEnded();
                status = Status::done;
            } else {
                fireChanged();
            }
            return;
        }
        if (distance(start, sample.location) >= minimum)
            status = Status::ready;
        if (phase == PointerPhase::up) {
            ended = true;
            if (status != Status::ready)
                status = Status::failed;
        }
    }
    void activate() override {
        active = true;
        fireChanged();
        if (ended) {
            fireEnded();
            status = Status::done;
        }
    }
    // A drag that has begun and not ended is told it was cancelled, with the newest
    // action it had (its view may already have left the tree).
    void cancel() override {
        if (!active || status == Status::done)
            return;
        status = Status::done;
        if (auto* g = currentGesture<DragImpl>(site))
            cancelled = g->gesture.cancelled;
        if (cancelled)
            cancelled();
    }

  private:
    DragGesture::Value value() const {
        CGSize t{last.location.x - start.x, last.location.y - start.y};
        return {start, last.location, t, last.timestamp, last.location};
    }
    void fireChanged() {
        auto* g = currentGesture<DragImpl>(site);
        if (!g)
            return;
        cancelled = g->gesture.cancelled;
        if (g->gesture.changed)
            g->gesture.changed(value());
    }
    void fireEnded() {
        if (auto* g = currentGesture<DragImpl>(site); g && g->gesture.ended)
            g->gesture.ended(value());
    }
    GestureSite site;
    CGFloat minimum;
    CGPoint start;
    PointerSample last;
    bool ended = false;
    std::function<void()> cancelled;
};

std::unique_ptr<Recognizer> DragImpl::makeRecognizer(GestureSite site) const {
    return std::make_unique<DragRecognizer>(std::move(site), gesture.minimumDistance);
}

class TapImpl final : public GestureImpl {
  public:
    explicit TapImpl(TapGesture g) : gesture(std::move(g)) {}
    std::unique_ptr<Recognizer> makeRecognizer(GestureSite site) const override;
    TapGesture gesture;
};

class TapRecognizer final : public Recognizer {
  public:
    TapRecognizer(GestureSite s, int count, unsigned required)
        : site(std::move(s)), count(count), required(required) {}
    void handle(PointerPhase phase, const PointerSample& sample) override {
        if (status != Status::possible)
            return;
        if (phase == PointerPhase::down) {
            start = sample.location;
            // Without its modifier keys at the press a tap cannot succeed: it gives way
            // at once, so a gesture after it need not wait for the release.
            if ((sample.modifiers & required) != required)
                status = Status::failed;
            return;
        }
        if (distance(start, sample.location) > TapGesture::allowedMovement || !sample.inside) {
            status = Status::failed;
            return;
        }
        if (phase == PointerPhase::up) {
            bool clicks = count == 1 || sample.clickCount == count;
            bool keys = (sample.modifiers & required) == required;
            status = clicks && keys ? Status::ready : Status::failed;
        }
    }
    void activate() override {
        active = true;
        status = Status::done;
        if (auto* g = currentGesture<TapImpl>(site); g && g->gesture.ended)
            g->gesture.ended();
    }

  private:
    GestureSite site;
    int count;
    unsigned required;
    CGPoint start;
};

std::unique_ptr<Recognizer> TapImpl::makeRecognizer(GestureSite site) const {
    return std::make_unique<TapRecognizer>(std::move(site), gesture.count,
                                           gesture.requiredModifiers);
}

} // namespace

// A button's press: pressed while the pointer is down over the button, the action on
// a release over it.
class ButtonGestureImpl final : public GestureImpl {
  public:
    ButtonGestureImpl(std::function<void()> a, State<bool> p)
        : action(std::move(a)), isPressed(std::move(p)) {}
    std::unique_ptr<Recognizer> makeRecognizer(GestureSite site) const override;
    std::function<void()> action;
    State<bool> isPressed;
};

namespace {
class ButtonRecognizer final : public Recognizer {
  public:
    explicit ButtonRecognizer(GestureSite s) : site(std::move(s)) {}
    void handle(PointerPhase phase, const PointerSample& sample) override {
        inside = sample.inside;
        if (phase == PointerPhase::down) {
            status = Status::ready;
            return;
        }
        if (!active)
            return;
        if (phase == PointerPhase::dragged) {
            setPressed(inside);
            return;
        }
        setPressed(false);
        status = Status::done;
        if (inside)
            if (auto* g = currentGesture<ButtonGestureImpl>(site); g && g->action)
                g->action();
    }
    void activate() override {
        active = true;
        setPressed(inside);
    }
    void cancel() override { setPressed(false); }

  private:
    void setPressed(bool pressed) {
        if (auto* g = currentGesture<ButtonGestureImpl>(site))
            g->isPressed.set(pressed);
    }
    GestureSite site;
    bool inside = false;
};
} // namespace

std::unique_ptr<Recognizer> ButtonGestureImpl::makeRecognizer(GestureSite site) const {
    return std::make_unique<ButtonRecognizer>(std::move(site));
}

Gesture makeButtonGesture(std::function<void()> action, State<bool> isPressed) {
    return Gesture(
        std::make_shared<const ButtonGestureImpl>(std::move(action), std::move(isPressed)));
}

AnyView attachGesture(AnyView content, const Gesture& gesture, GestureMask mask, Kind kind) {
    if (mask == GestureMask::none)
        return content;
    return nodeChange<GestureTag>(std::move(content), [gesture, kind](Node& node) {
        node.gestures.push_back({gesture, kind});
    });
}

} // namespace detail

DragGesture::operator Gesture() const {
    return Gesture(std::make_shared<const detail::DragImpl>(*this));
}

TapGesture::operator Gesture() const {
    return Gesture(std::make_shared<const detail::TapImpl>(*this));
}

// ---- Hit testing and the competition of gestures

namespace {

bool hitTest(Node& node, CGPoint local, std::vector<Node*>& path) {
    if (!node.hitTestingEnabled)
        return false;
    path.push_back(&node);
    CGPoint inner = node.contentTransform.inverted().apply(local);
    for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
        Node& child = **it;
        CGPoint p{inner.x - child.frame.origin.x, inner.y - child.frame.origin.y};
        if (hitTest(child, p, path))
            return true;
    }
    if (node.view.primitive().hitsContent(node, local))
        return true;
    path.pop_back();
    return false;
}

const Node* namedSpace(const Node& node, const std::string& name) {
    for (const Node* p = &node; p; p = p->parent)
        if (p->coordinateSpaceName == name)
            return p;
    return nullptr;
}

} // namespace

class ViewGraph::Session {
  public:
    struct Entry {
        std::unique_ptr<detail::Recognizer> recognizer;
        std::weak_ptr<Node> node;
        CoordinateSpace space;
    };
    std::vector<Entry> exclusive; // in priority order
    std::vector<Entry> simultaneous;
    bool decided = false;

    // The running recognisers of a node.
    std::vector<detail::Recognizer*> recognizersOf(const Node& node) {
        std::vector<detail::Recognizer*> found;
        for (auto* list : {&exclusive, &simultaneous})
            for (auto& entry : *list)
                if (entry.node.lock().get() == &node &&
                    entry.recognizer->status != detail::Recognizer::Status::failed)
                    found.push_back(entry.recognizer.get());
        return found;
    }

    void dispatch(detail::PointerPhase phase, const PointerEvent& event) {
        for (auto* list : {&exclusive, &simultaneous})
            for (auto& entry : *list)
                feed(entry, phase, event);
        for (auto& entry : simultaneous) {
            auto& r = *entry.recognizer;
            if (r.status == detail::Recognizer::Status::ready && !r.active)
                r.activate();
        }
        if (decided)
            return;
        for (auto& entry : exclusive) {
            auto& r = *entry.recognizer;
            if (r.status == detail::Recognizer::Status::failed)
                continue;
            if (r.status == detail::Recognizer::Status::ready) {
                decided = true;
                for (auto& other : exclusive)
                    if (&other != &entry) {
                        other.recognizer->cancel();
                        other.recognizer->status = detail::Recognizer::Status::failed;
                    }
                r.activate();
            }
            break; // a gesture before it in priority may still succeed: wait
        }
    }

  private:
    static void feed(Entry& entry, detail::PointerPhase phase, const PointerEvent& event) {
        auto& r = *entry.recognizer;
        auto node = entry.node.lock();
        if (!node || !node->attached) {
            if (r.status != detail::Recognizer::Status::failed) {
                r.cancel();
                r.status = detail::Recognizer::Status::failed;
            }
            return;
        }
        CGPoint local = node->convertFromRoot(event.location);
        detail::PointerSample sample;
        sample.inside = node->bounds().contains(local);
        sample.clickCount = event.clickCount;
        sample.modifiers = event.modifiers;
        sample.timestamp = event.timestamp;
        switch (entry.space.kind) {
        case CoordinateSpace::Kind::local:
            sample.location = local;
            break;
        case CoordinateSpace::Kind::global:
            sample.location = event.location;
            break;
        case CoordinateSpace::Kind::named: {
            const Node* space = namedSpace(*node, entry.space.name);
            sample.location = space ? space->convertFromRoot(event.location) : event.location;
            break;
        }
        }
        r.handle(phase, sample);
    }
};

ViewGraph::~ViewGraph() = default;

// The gestures of a node that leaves the tree stop when the update is done, not at the
// next event (which may never come): a drag that has begun hears it was cancelled.
void ViewGraph::cancelGestures(Node& node) {
    if (!session)
        return;
    for (detail::Recognizer* r : session->recognizersOf(node))
        enqueueAfterUpdate([keep = session, r] {
            if (r->status == detail::Recognizer::Status::failed)
                return;
            r->cancel();
            r->status = detail::Recognizer::Status::failed;
        });
}

bool ViewGraph::pointer(const PointerEvent& event) {
    Runtime::assertMainThread("ViewGraph::pointer");
    using Phase = PointerEvent::Phase;
    if (event.phase == Phase::moved)
        return false;
    if (event.phase == Phase::down) {
        session.reset();
        std::vector<Node*> path;
        hitTest(*root_, root_->convertFromRoot(event.location), path);
        Node* field = nullptr;
        for (Node* n : path)
            if (dynamic_cast<const TextField*>(&n->view.primitive()) && n->isEnabled())
                field = n;
        if (field)
            focus(*field);
        else
            unfocus();
        if (path.empty())
            return false;
        session = std::make_shared<Session>();
        std::vector<Session::Entry> high;
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            Node& node = **it;
            if (!node.isEnabled())
                continue;
            for (size_t i = 0; i < node.gestures.size(); ++i) {
                const auto& attachment = node.gestures[i];
                const auto& impl = attachment.gesture.implementation();
                Session::Entry entry{impl.makeRecognizer({node.weak_from_this(), i}),
                                     node.weak_from_this(), impl.space()};
                switch (attachment.kind) {
                case Node::GestureAttachment::Kind::exclusive:
                    session->exclusive.push_back(std::move(entry));
                    break;
                case Node::GestureAttachment::Kind::simultaneous:
                    session->simultaneous.push_back(std::move(entry));
                    break;
                case Node::GestureAttachment::Kind::highPriority:
                    high.insert(high.begin(), std::move(entry));
                    break;
                }
            }
        }
        for (auto it = high.rbegin(); it != high.rend(); ++it)
            session->exclusive.insert(session->exclusive.begin(), std::move(*it));
        session->dispatch(detail::PointerPhase::down, event);
        return true;
    }
    if (!session)
        return false;
    if (event.phase == Phase::dragged) {
        session->dispatch(detail::PointerPhase::dragged, event);
        return true;
    }
    auto ending = std::move(session);
    ending->dispatch(detail::PointerPhase::up, event);
    return true;
}

} // namespace SwiftUI
