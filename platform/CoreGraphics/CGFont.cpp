#include "CoreGraphics/CGFont.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <link.h>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "CoreGraphics/CGTextLayout.h"

namespace fs = std::filesystem;

namespace {

std::string executableFolder() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

void loadFolder(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return;
    FcConfig* config = FcConfigGetCurrent();
    std::vector<fs::path> configs;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".conf")
            configs.push_back(entry.path());
    std::sort(configs.begin(), configs.end());
    for (const fs::path& file : configs)
        FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(file.c_str()), FcFalse);
    FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(folder.c_str()));
}

// The font folders loaded so far, and the loader's count of loaded modules when they
// were last looked for: a module loaded later (an extension a host opens) brings the
// fonts of its bundle along.
struct FontFolders {
    std::mutex lock;
    bool started = false;
    unsigned long long loads = 0;
    std::set<std::string> loaded;
};

FontFolders& fontFolders() {
    static FontFolders folders;
    return folders;
}

int readLoadCount(dl_phdr_info* info, size_t, void* out) {
    *static_cast<unsigned long long*>(out) = info->dlpi_adds;
    return 1; // the count is the same in every entry
}

// <bundle>/Contents/Resources/Fonts of each module at <bundle>/Contents/MacOS/<file>.
int collectBundleFontFolders(dl_phdr_info* info, size_t, void* out) {
    if (info->dlpi_name && info->dlpi_name[0]) {
        fs::path folder = fs::path(info->dlpi_name).parent_path();
        if (folder.filename() == "MacOS" && folder.parent_path().filename() == "Contents")
            static_cast<std::vector<fs::path>*>(out)->push_back(folder.parent_path() / "Resources" /
                                                                "Fonts");
    }
    return 0;
}

bool loadFolderOnce(FontFolders& state, const fs::path& folder) {
    std::error_code error;
    fs::path canonical = fs::canonical(folder, error);
    if (error || !fs::is_directory(canonical, error) ||
        !state.loaded.insert(canonical.string()).second)
        return false;
    loadFolder(canonical);
    return true;
}

void fontsChanged();

std::string fcString(FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) == FcResultMatch && value)
        return reinterpret_cast<const char*>(value);
    return {};
}

// The file fontconfig picks for a family name after substitution.
std::string matchedFile(const std::string& family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file = match ? fcString(match, FC_FILE) : std::string();
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

struct Face {
    std::string family;
    int weight = CGFont::regular;
    bool italic = false;
};

// The first installed face whose `object` (PostScript name, full name or family)
// is `name`.
std::optional<Face> listedFace(const char* object, const std::string& name) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, object, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_WEIGHT, FC_SLANT, FC_FILE, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    std::optional<Face> face;
    if (set && set->nfont > 0) {
        FcPattern* font = set->fonts[0];
        if (std::string_view(object) == FC_FAMILY) {
            // A family name asks for the family's regular face.
            face = Face{name};
        } else {
            face = Face{fcString(font, FC_FAMILY)};
            int weight, slant;
            if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) == FcResultMatch)
                face->weight = FcWeightToOpenType(weight);
            if (FcPatternGetInteger(font, FC_SLANT, 0, &slant) == FcResultMatch)
                face->italic = slant != FC_SLANT_ROMAN;
        }
    }
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return face;
}

// Resolved names, kept until the font configuration changes: listing the installed
// fonts takes milliseconds, and views look fonts up by name as they draw.
struct FaceCache {
    std::mutex lock;
    std::map<std::string, std::optional<Face>> faces;
};

FaceCache& faceCache() {
    static FaceCache cache;
    return cache;
}

std::optional<Face> resolveUncached(const std::string& name) {
    for (const char* object : {FC_POSTSCRIPT_NAME, FC_FULLNAME, FC_FAMILY})
        if (auto face = listedFace(object, name))
            return face;
    // An alias of the font configuration: the name leads somewhere other than the
    // fallback that an unknown name gets.
    static const std::string fallback = matchedFile("no-such-family-for-fallback");
    std::string file = matchedFile(name);
    if (!file.empty() && file != fallback)
        return Face{name};
    return std::nullopt;
}

// New font configuration: forget resolved names and pango's matches.
void fontsChanged() {
    {
        std::lock_guard guard(faceCache().lock);
        faceCache().faces.clear();
    }
    pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(pango_cairo_font_map_get_default()));
}

std::optional<Face> resolve(const std::string& name) {
    FaceCache& cache = faceCache();
    std::lock_guard guard(cache.lock);
    auto found = cache.faces.find(name);
    if (found != cache.faces.end())
        return found->second;
    return cache.faces[name] = resolveUncached(name);
}

} // namespace

namespace CGTextLayout {

void ensureFontsLoaded() {
    FontFolders& state = fontFolders();
    std::lock_guard guard(state.lock);
    unsigned long long loads = 0;
    dl_iterate_phdr(readLoadCount, &loads);
    if (state.started && loads == state.loads)
        return;
    bool first = !state.started;
    if (first)
        FcInit();
    state.started = true;
    state.loads = loads;
    // The running program's fonts, then those of every bundle a loaded module lies in.
    std::vector<fs::path> folders;
    std::string exe = executableFolder();
    if (!exe.empty()) {
        folders.push_back(fs::path(exe) / "Fonts");
        folders.push_back(fs::path(exe) / ".." / "Resources" / "Fonts");
    }
    dl_iterate_phdr(collectBundleFontFolders, &folders);
    bool added = false;
    for (const fs::path& folder : folders)
        added |= loadFolderOnce(state, folder);
    if (added && !first)
        fontsChanged();
}

void configure(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 72);
    pango_context_set_round_glyph_positions(context, FALSE);
}

PangoContext* measuringContext() {
    ensureFontsLoaded();
    thread_local PangoContext* context = [] {
        PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
        configure(c);
        return c;
    }();
    return context;
}

PangoFontDescription* describe(const CGFont& font) {
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, font.family().c_str());
    pango_font_description_set_weight(d, PangoWeight(font.weight()));
    pango_font_description_set_style(d, font.italic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(d, font.pointSize() * PANGO_SCALE);
    return d;
}

PangoLayout* makeLayout(PangoContext* context, const std::string& text, const CGFont& font,
                        const CGTextOptions& options) {
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* d = describe(font);
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    pango_layout_set_text(layout, text.c_str(), int(text.size()));
    // pango counts widths in integer units of 1/PANGO_SCALE point: a width beyond what
    // they hold (a caller's "as wide as it takes", DBL_MAX) lays out unbounded.
    if (options.width && *options.width * PANGO_SCALE < double(std::numeric_limits<int>::max())) {
        pango_layout_set_width(layout, std::max(0, int(*options.width * PANGO_SCALE)));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        if (options.maximumLines > 0) {
            pango_layout_set_height(layout, -options.maximumLines);
            using T = CGTextOptions::Truncation;
            pango_layout_set_ellipsize(layout, options.truncation == T::head ? PANGO_ELLIPSIZE_START
                                               : options.truncation == T::middle
                                                   ? PANGO_ELLIPSIZE_MIDDLE
                                                   : PANGO_ELLIPSIZE_END);
        }
    }
    if (options.letterSpacing != 0) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(int(
                                               std::lround(options.letterSpacing * PANGO_SCALE))));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    switch (options.alignment) {
    case CGTextOptions::Alignment::left:
        pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
        break;
    case CGTextOptions::Alignment::center:
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        break;
    case CGTextOptions::Alignment::right:
        pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
        break;
    }
    return layout;
}

} // namespace CGTextLayout

std::optional<CGFont> CGFont::named(const std::string& name, CGFloat pointSize) {
    CGTextLayout::ensureFontsLoaded();
    auto face = resolve(name);
    if (!face)
        return std::nullopt;
    CGFont font;
    font.name_ = name;
    font.size = pointSize;
    font.family_ = face->family;
    font.weight_ = face->weight;
    font.italic_ = face->italic;
    return font;
}

CGFont CGFont::system(CGFloat pointSize, Weight weight) {
    CGFont font;
    // The weight is part of the name for all but the regular face ("System-Medium"), so
    // what is drawn in which face can be told apart wherever only the name is kept.
    static constexpr std::pair<Weight, const char*> faces[] = {
        {ultraLight, "-UltraLight"}, {thin, "-Thin"}, {light, "-Light"}, {medium, "-Medium"},
        {semibold, "-Semibold"},     {bold, "-Bold"}, {heavy, "-Heavy"}, {black, "-Black"}};
    font.name_ = "System";
    for (const auto& [face, suffix] : faces)
        if (face == weight)
            font.name_ += suffix;
    font.size = pointSize;
    font.family_ = "sans-serif";
    font.weight_ = weight;
    return font;
}

CGFont CGFont::withSize(CGFloat pointSize) const {
    CGFont font = *this;
    font.size = pointSize;
    return font;
}

std::string CGFont::pangoDescription() const {
    PangoFontDescription* d = CGTextLayout::describe(*this);
    char* text = pango_font_description_to_string(d);
    std::string result = text;
    g_free(text);
    pango_font_description_free(d);
    return result;
}

std::string CGFont::resolvedFamily() const {
    PangoContext* context = CGTextLayout::measuringContext();
    PangoFontDescription* d = CGTextLayout::describe(*this);
    PangoFont* font = pango_font_map_load_font(pango_context_get_font_map(context), context, d);
    pango_font_description_free(d);
    if (!font)
        return {};
    PangoFontDescription* actual = pango_font_describe(font);
    std::string family = pango_font_description_get_family(actual);
    pango_font_description_free(actual);
    g_object_unref(font);
    return family;
}

namespace {
PangoFontMetrics* metricsOf(const CGFont& font) {
    PangoContext* context = CGTextLayout::measuringContext();
    PangoFontDescription* d = CGTextLayout::describe(font);
    PangoFontMetrics* metrics = pango_context_get_metrics(context, d, nullptr);
    pango_font_description_free(d);
    return metrics;
}
} // namespace

CGFloat CGFont::ascent() const {
    PangoFontMetrics* m = metricsOf(*this);
    CGFloat value = CGFloat(pango_font_metrics_get_ascent(m)) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    return value;
}

CGFloat CGFont::descent() const {
    PangoFontMetrics* m = metricsOf(*this);
    CGFloat value = CGFloat(pango_font_metrics_get_descent(m)) / PANGO_SCALE;
    pango_font_metrics_unref(m);
    return value;
}

std::vector<CGFloat> CGTextCaretOffsets(const std::string& text, const CGFont& font) {
    PangoLayout* layout =
        CGTextLayout::makeLayout(CGTextLayout::measuringContext(), text, font, CGTextOptions{});
    std::vector<CGFloat> offsets;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue; // inside a character
        PangoRectangle pos;
        pango_layout_index_to_pos(layout, int(i), &pos);
        offsets.push_back(CGFloat(pos.x) / PANGO_SCALE);
    }
    g_object_unref(layout);
    return offsets;
}

CGFloat CGFont::capHeight() const {
    PangoLayout* layout =
        CGTextLayout::makeLayout(CGTextLayout::measuringContext(), "H", *this, {});
    PangoRectangle ink;
    pango_layout_get_extents(layout, &ink, nullptr);
    const int baseline = pango_layout_get_baseline(layout);
    g_object_unref(layout);
    return CGFloat(baseline - ink.y) / PANGO_SCALE;
}

CGSize CGTextMeasure(const std::string& text, const CGFont& font, const CGTextOptions& options) {
    PangoLayout* layout =
        CGTextLayout::makeLayout(CGTextLayout::measuringContext(), text, font, options);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return {CGFloat(logical.width) / PANGO_SCALE, CGFloat(logical.height) / PANGO_SCALE};
}

namespace CGFontRegistry {

void addFontFolder(const std::string& folder) {
    CGTextLayout::ensureFontsLoaded();
    FontFolders& state = fontFolders();
    std::lock_guard guard(state.lock);
    if (loadFolderOnce(state, folder))
        fontsChanged();
}

} // namespace CGFontRegistry
