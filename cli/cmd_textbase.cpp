// orbeta-cli textbase: compile, look up and check interpretation text bases.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "commands.h"
#include "interp/text_base.h"
#include "interp/text_check.h"
#include "interp/text_form.h"
#include "interp/text_report.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta::cli {
namespace {

struct TextBaseArgs {
    std::string base;
    bool force = false;
    bool json = false;
    std::vector<std::string> keys;
    bool utf8 = false;
    std::string require;
    std::string requireText;
    bool stats = false;
    bool shipping = false;
    std::string floors;
    std::string against;
};

// A stem of the invoker's when its .csr or .cta is there or it names a folder;
// else a stem of the workspace.
std::string ResolveStem(const std::string& stem) {
    std::filesystem::path path(stem);
    std::error_code ec;
    if (path.is_absolute()) return stem;
    bool invokers = path.has_parent_path() || std::filesystem::exists(stem + ".csr", ec) ||
                    std::filesystem::exists(stem + ".cta", ec);
    return invokers ? std::filesystem::absolute(path, ec).string() : stem;
}

void Compile(const TextBaseArgs& a, const std::string& shown) {
    std::filesystem::path stem(a.base);
    std::error_code ec;
    bool haveSource = std::filesystem::exists(WithExtension(stem, ".csr"), ec);
    if (a.force && !haveSource) throw CommandError("no source " + shown + ".csr");
    bool compile = a.force || TextBaseNeedsCompile(stem);
    if (!compile && !std::filesystem::exists(WithExtension(stem, ".cta"), ec))
        throw CommandError("no base " + shown + " (neither .csr nor .cta)");
    CompileStats stats;
    std::string error;
    if (compile) {
        if (!CompileTextBaseFile(stem, stats, error)) throw CommandError(AnsiToUtf8(error));
    } else if (haveSource) {
        SourceSet set;
        if (ReadSourceSet(WithExtension(stem, ".csr"), set)) CompileTextBase(set, stats, error);
    }
    if (a.json) {
        nlohmann::json out{{"base", shown},       {"compiled", compile},    {"keys", stats.keys},
                           {"slot", stats.slot},  {"blocks", stats.blocks}, {"lines", stats.lines},
                           {"bytes", stats.bytes}};
        std::printf("%s\n", out.dump().c_str());
    } else if (compile) {
        std::printf("%s.cta: %d keys, slot %d, %d blocks, %d lines, %zu bytes\n", shown.c_str(),
                    stats.keys, stats.slot, stats.blocks, stats.lines, stats.bytes);
    } else {
        std::printf("%s.cta: up to date\n", shown.c_str());
    }
}

void Lookup(const TextBaseArgs& a) {
    if (!OpenTextBase(a.base)) throw CommandError("the base cannot be opened");
    nlohmann::json out = nlohmann::json::array();
    for (const auto& key : a.keys) {
        FindText(Utf8ToOem(key));
        PrintedBlock printed = PrintBlock(FoundTextLines());
        if (!a.json) {
            std::fputs(AnsiToUtf8(printed.text).c_str(), stdout);
            continue;
        }
        nlohmann::json lines = nlohmann::json::array();
        for (const auto& line : FoundTextLines()) lines.push_back(AnsiToUtf8(line));
        nlohmann::json value = nullptr;
        if (printed.value) value = AnsiToUtf8(*printed.value);
        out.push_back({{"key", key},
                       {"found", FoundTextKey()},
                       {"lines", lines},
                       {"printed", AnsiToUtf8(printed.text)},
                       {"value", value}});
    }
    CloseTextBase();
    if (a.json) std::printf("%s\n", out.dump().c_str());
}

int Check(const TextBaseArgs& a) {
    std::filesystem::path csr = WithExtension(a.base, ".csr");
    SourceSet set;
    std::vector<SourceProblem> readProblems;
    if (!ReadSourcesForCheck(csr, a.utf8, set, readProblems))
        throw CommandError("cannot read " + csr.string());
    std::vector<RequiredKey> required;
    if (!a.require.empty()) required = ParseRequiredKeys(a.requireText);
    auto check = CheckTextBase(set, readProblems, required,
                               std::filesystem::path(a.base).filename().string());
    if (a.shipping) {
        std::vector<WordFloor> floors;
        if (!a.floors.empty()) {
            auto bytes = ReadFileBytes(a.floors);
            if (!bytes) throw CommandError("cannot read " + a.floors);
            floors = ParseWordFloors(*bytes);
        }
        SourceSet other;
        std::vector<SourceProblem> ignored;
        if (!a.against.empty() &&
            !ReadSourcesForCheck(WithExtension(a.against, ".csr"), a.utf8, other, ignored))
            throw CommandError("cannot read " + a.against + ".csr");
        CheckShippedForm(set, floors, a.against.empty() ? nullptr : &other, check);
        if (!required.empty()) CheckKeysLookedUp(set, required, check);
    }
    std::vector<std::pair<std::string, std::string>> similar;
    if (a.stats) similar = SimilarBlocks(set, required);
    if (a.json) {
        nlohmann::json out;
        out["problems"] = nlohmann::json::array();
        for (const auto& p : check.problems)
            out["problems"].push_back(
                {{"file", p.place.file.string()}, {"line", p.place.line}, {"text", p.text}});
        out["missing"] = nlohmann::json::array();
        for (const auto& key : check.missing) out["missing"].push_back(OemToUtf8(key));
        out["families"] = nlohmann::json::array();
        if (a.stats)
            for (const auto& f : check.families)
                out["families"].push_back({{"family", f.family},
                                           {"keys", f.keys},
                                           {"blocks", f.blocks},
                                           {"words",
                                            {{"min", f.words.min},
                                             {"median", f.words.median},
                                             {"max", f.words.max},
                                             {"total", f.words.total}}}});
        out["duplicates"] = a.stats ? nlohmann::json(check.duplicates) : nlohmann::json::array();
        out["similar"] = nlohmann::json::array();
        for (const auto& [first, second] : similar) out["similar"].push_back({first, second});
        std::printf("%s\n", out.dump().c_str());
    } else {
        for (const auto& p : check.problems)
            std::printf("%s:%d: %s\n", p.place.file.string().c_str(), p.place.line, p.text.c_str());
        for (const auto& key : check.missing) std::printf("missing: %s\n", OemToUtf8(key).c_str());
        if (a.stats) {
            for (const auto& f : check.families)
                std::printf("%s: %d keys, %d blocks, words min %d, median %g, max %d, total %ld\n",
                            f.family.c_str(), f.keys, f.blocks, f.words.min, f.words.median,
                            f.words.max, f.words.total);
            for (const auto& group : check.duplicates) {
                std::printf("same text:");
                for (const auto& key : group) std::printf(" %s", key.c_str());
                std::printf("\n");
            }
            for (const auto& [first, second] : similar)
                std::printf("similar: %s %s\n", first.c_str(), second.c_str());
            for (const auto& s : SharedSentences(set, 8)) {
                std::printf("%s in %zu texts:", s.keys.size() > 5 ? "repeated" : "shared",
                            s.keys.size());
                for (const auto& key : s.keys) std::printf(" %s", key.c_str());
                std::printf(": %s\n", s.words.c_str());
            }
        }
    }
    return check.problems.empty() && check.missing.empty() ? 0 : 1;
}

}  // namespace

void AddTextBaseCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("textbase", "interpretation text bases: compile, lookup, check");
    cmd->require_subcommand(1);
    auto args = std::make_shared<TextBaseArgs>();
    auto addBase = [args](CLI::App* sub) {
        sub->add_option("--base", args->base,
                        "stem of the base: STEM.csr and STEM.cta, here or in the workspace")
            ->required();
        sub->add_flag("--json", args->json, "JSON output");
    };
    auto* compile = cmd->add_subcommand("compile", "compile STEM.csr into STEM.cta when needed");
    addBase(compile);
    compile->add_flag("--force", args->force, "compile even when the .cta is up to date");
    compile->callback([args, &action] {
        std::string shown = args->base;
        args->base = ResolveStem(args->base);
        action.run = [args, shown] { Compile(*args, shown); };
    });
    auto* lookup = cmd->add_subcommand("lookup", "the printed text of keys");
    addBase(lookup);
    lookup->add_option("--key", args->keys, "keys (UTF-8)")->required();
    lookup->callback([args, &action] {
        args->base = ResolveStem(args->base);
        action.run = [args] { Lookup(*args); };
    });
    auto* check = cmd->add_subcommand("check", "problems of the sources, missing keys, statistics");
    addBase(check);
    check->add_flag("--utf8", args->utf8, "the sources are UTF-8 (as in the repository)");
    check->add_option("--require", args->require,
                      "file of lines KEY[<tab>FAMILY[<tab>required|optional]], or - for stdin");
    check->add_flag(
        "--stats", args->stats,
        "words per family, blocks of equal text, texts sharing half their word 4-grams");
    check->add_flag("--shipping", args->shipping,
                    "the form of shipped texts: line length, paragraphs, characters, equal texts");
    check->add_option("--floors", args->floors,
                      "with --shipping: lines PATTERN WORDS, the least words of a key's text");
    check->add_option("--against", args->against,
                      "with --shipping: STEM of another base whose texts this one must not repeat");
    check->callback([args, &action] {
        args->base = ResolveStem(args->base);
        std::error_code ec;  // the command runs in the workspace: the invoker's paths first
        if (!args->floors.empty())
            args->floors = std::filesystem::absolute(args->floors, ec).string();
        if (!args->against.empty()) args->against = ResolveStem(args->against);
        if (args->require == "-") {
            args->requireText.assign(std::istreambuf_iterator<char>(std::cin), {});
        } else if (!args->require.empty()) {
            auto bytes = ReadFileBytes(args->require);
            if (!bytes) throw CommandError("cannot read " + args->require);
            args->requireText = *bytes;
        }
        action.run = [args, &action] { action.status = Check(*args); };
    });
}

}  // namespace orbeta::cli
