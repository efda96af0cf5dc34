#include "tools/demo-site/faults.h"

#include <charconv>

namespace lumora::demo {

namespace {

template <typename Value>
bool parseNumber(std::string_view text, Value& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<Resource> parseResource(std::string_view name) {
    if (name == "listing")
        return Resource::listing;
    if (name == "cover")
        return Resource::cover;
    if (name == "archive")
        return Resource::archive;
    if (name == "text")
        return Resource::textPage;
    return std::nullopt;
}

std::optional<FaultKind> parseKind(std::string_view name) {
    if (name == "truncate")
        return FaultKind::truncate;
    if (name == "slow")
        return FaultKind::slow;
    if (name == "error")
        return FaultKind::errorStatus;
    if (name == "short")
        return FaultKind::shortPage;
    if (name == "missing-marker")
        return FaultKind::missingMarker;
    return std::nullopt;
}

bool applyOption(FaultRule& rule, std::string_view key, std::string_view value) {
    if (key == "every")
        return parseNumber(value, rule.every) && rule.every > 0;
    if (key == "page")
        return parseNumber(value, rule.page) && rule.page >= 0;
    if (key == "status")
        return parseNumber(value, rule.status) && rule.status >= 100;
    if (key == "keep") {
        return parseNumber(value, rule.keepFraction) && rule.keepFraction >= 0 &&
               rule.keepFraction < 1;
    }
    if (key == "chunk")
        return parseNumber(value, rule.chunkBytes) && rule.chunkBytes > 0;
    if (key == "delay")
        return parseNumber(value, rule.delayMs) && rule.delayMs >= 0;
    if (key == "marker") {
        rule.marker = std::string(value);
        return !value.empty();
    }
    return false;
}

}  // namespace

bool faultApplies(const FaultRule& rule, Resource resource, int selector) {
    if (rule.resource != resource)
        return false;
    if (resource == Resource::listing && rule.page > 0)
        return selector == rule.page;
    return rule.every > 0 && selector % rule.every == 0;
}

const FaultRule* findFault(const std::vector<FaultRule>& rules, Resource resource, int selector) {
    for (const FaultRule& rule : rules) {
        if (faultApplies(rule, resource, selector))
            return &rule;
    }
    return nullptr;
}

std::optional<FaultRule> parseFaultRule(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto resource = parseResource(text.substr(0, colon));
    std::string_view rest = text.substr(colon + 1);
    size_t comma = rest.find(',');
    const auto kind = parseKind(rest.substr(0, comma));
    if (!resource || !kind)
        return std::nullopt;
    const bool listingOnly = *kind == FaultKind::shortPage || *kind == FaultKind::missingMarker;
    if (listingOnly && *resource != Resource::listing)
        return std::nullopt;
    FaultRule rule;
    rule.resource = *resource;
    rule.kind = *kind;
    while (comma != std::string_view::npos) {
        rest = rest.substr(comma + 1);
        comma = rest.find(',');
        const std::string_view option = rest.substr(0, comma);
        const size_t equals = option.find('=');
        if (equals == std::string_view::npos ||
            !applyOption(rule, option.substr(0, equals), option.substr(equals + 1))) {
            return std::nullopt;
        }
    }
    return rule;
}

}  // namespace lumora::demo
