#include "profiles/mouse_profiledata.h"

#include "profiles/json_access.h"

namespace {

constexpr const char* kSystemSection = "SystemStages";
constexpr const char* kReportSection = "ReportStages";

struct MouseSettingKey {
    MouseSettingIndex index;
    const char* section;
    const char* key;
};

// Value 9 is reserved: never stored.
constexpr MouseSettingKey kMouseSettingKeys[] = {
    {kDoubleClickTime, kSystemSection, "DoubleClickTime"},
    {kMouseSpeed, kSystemSection, "MouseSpeed"},
    {kPointerPrecision, kSystemSection, "PointerPrecision"},
    {kScrollPage, kSystemSection, "ScorllPage"},
    {kWheelScrollLines, kSystemSection, "WheelScorlllinse"},
    {kReportRate, kReportSection, "StageActive"},
    {kSilentAltitude, kReportSection, "SilentAltitude"},
    {kLinearCalibration, kReportSection, "Linear_Calibration"},
    {kRipple, kReportSection, "Ripple"},
    {kBleSleep1, kReportSection, "ble_sleep1"},
    {kBleSleep2, kReportSection, "ble_sleep2"},
    {kDeviceSleep1, kReportSection, "device_sleep1"},
    {kDeviceSleep2, kReportSection, "device_sleep2"},
    {kKeyDebounceTime, kReportSection, "key_debounce_time"},
    {kLogoLedMode, kSystemSection, "Logoledmode"},
};

template <typename Field>
struct StageField {
    const char* key;
    Field DpiStage::*member;
};

constexpr StageField<uint8_t> kStageBytes[] = {
    {"StageActive", &DpiStage::stageActive}, {"StageXY", &DpiStage::stageXY},
    {"StageColorR", &DpiStage::red},          {"StageColorG", &DpiStage::green},
    {"StageColorB", &DpiStage::blue},
};
constexpr StageField<uint16_t> kStageWords[] = {
    {"StageDPIX", &DpiStage::dpiX},
    {"StageDPIY", &DpiStage::dpiY},
};

DpiStage StageOf(const Json::Value& object)
{
    DpiStage stage;
    for (const auto& field : kStageBytes)
        stage.*field.member = static_cast<uint8_t>(IntOf(MemberOf(object, field.key)));
    for (const auto& field : kStageWords)
        stage.*field.member = static_cast<uint16_t>(IntOf(MemberOf(object, field.key)));
    return stage;
}

Json::Value StageObject(const DpiStage& stage)
{
    Json::Value object(Json::objectValue);
    for (const auto& field : kStageBytes)
        object[field.key] = stage.*field.member;
    for (const auto& field : kStageWords)
        object[field.key] = stage.*field.member;
    return object;
}

}  // namespace

std::vector<DpiStage> CMouseProfiledata::ReadDpiStages()
{
    const Json::Value& section = MemberOf(Entry(), "DPIStages");
    if (section.isObject()) {
        m_activeDpiStage = IntOf(MemberOf(section, "StageActive"));
        const Json::Value& stages = MemberOf(section, "StageDPIs");
        for (Json::ArrayIndex i = 0; stages.isArray() && i < stages.size(); ++i) {
            if (i < m_dpiStages.size())
                m_dpiStages[i] = StageOf(stages[i]);
            else
                m_dpiStages.push_back(StageOf(stages[i]));
        }
    }
    return m_dpiStages;
}

void CMouseProfiledata::WriteDpiStages(const std::vector<DpiStage>& stages)
{
    m_dpiStages = stages;
    Json::Value& list = ArrayMember(ObjectMember(EditableEntry(), "DPIStages"), "StageDPIs");
    for (Json::ArrayIndex i = 0; i < stages.size(); ++i)
        list[i] = StageObject(stages[i]);
}

void CMouseProfiledata::WriteActiveDpiStage(int stage)
{
    m_activeDpiStage = stage;
    ObjectMember(EditableEntry(), "DPIStages")["StageActive"] = stage;
}

MouseSettings CMouseProfiledata::ReadMouseSettings()
{
    MouseSettings settings;
    const Json::Value& system = MemberOf(Entry(), kSystemSection);
    if (system.isObject()) {
        for (const auto& field : kMouseSettingKeys) {
            const Json::Value& section = MemberOf(Entry(), field.section);
            settings[field.index] = static_cast<uint16_t>(IntOf(MemberOf(section, field.key)));
        }
    }
    m_settings = settings;
    return settings;
}

void CMouseProfiledata::WriteMouseSettings(const MouseSettings& settings)
{
    m_settings = settings;
    for (const auto& field : kMouseSettingKeys)
        ObjectMember(EditableEntry(), field.section)[field.key] = settings[field.index];
}
