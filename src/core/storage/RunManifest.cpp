#include "RunManifest.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <array>
#include <utility>

namespace bandora {

namespace {

const QString kFormat = QStringLiteral("bandora-run");
constexpr int kFormatVersion = 1;

constexpr std::array<std::pair<RunStopReason, const char*>, 5> kReasons{{
    {RunStopReason::LapseEnd, "lapse end"},
    {RunStopReason::OperatorStop, "operator stop"},
    {RunStopReason::ProgramClosed, "program closed"},
    {RunStopReason::RecordingFailure, "recording failure"},
    {RunStopReason::CalibrationFailed, "calibration failed"},
}};

QString Local(const QDateTime& t) { return t.toLocalTime().toString(Qt::ISODate); }

QJsonObject When(const QDateTime& t)
{
    return {{QStringLiteral("local"), Local(t)}, {QStringLiteral("utc"), t.toUTC().toString(Qt::ISODate)}};
}

// The UTC time is the unambiguous one (a local time repeats at the autumn
// clock change); the local one is for reading.
QDateTime FromWhen(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    QDateTime t = QDateTime::fromString(o.value(QStringLiteral("utc")).toString(), Qt::ISODate);
    if (!t.isValid())
        t = QDateTime::fromString(o.value(QStringLiteral("local")).toString(), Qt::ISODate);
    return t.isValid() ? t.toLocalTime() : t;
}

QJsonObject GroupObject(const ManifestGroup& g)
{
    QJsonObject columns;
    for (auto it = g.Columns.begin(); it != g.Columns.end(); ++it)
        columns.insert(it.key(), it.value());
    return {{QStringLiteral("number"), g.Number},
            {QStringLiteral("name"), g.Name},
            {QStringLiteral("wells"), QJsonArray::fromStringList(g.Wells)},
            {QStringLiteral("columns"), columns}};
}

ManifestGroup GroupFrom(const QJsonObject& o)
{
    ManifestGroup g;
    g.Number = o.value(QStringLiteral("number")).toInt();
    g.Name = o.value(QStringLiteral("name")).toString();
    for (const QJsonValue& w : o.value(QStringLiteral("wells")).toArray())
        g.Wells << w.toString();
    const QJsonObject columns = o.value(QStringLiteral("columns")).toObject();
    for (auto it = columns.begin(); it != columns.end(); ++it)
        g.Columns.insert(it.key(), it.value().toString());
    return g;
}

QJsonObject ToJson(const RunManifest& m)
{
    QJsonArray groups;
    for (const ManifestGroup& g : m.Groups)
        groups.append(GroupObject(g));
    QJsonArray thresholds;
    for (double t : m.Thresholds)
        thresholds.append(t);
    QJsonArray failures;
    for (const RecordingFailure& f : m.Failures)
        failures.append(QJsonObject{{QStringLiteral("from"), Local(f.From)},
                                    {QStringLiteral("to"), Local(f.To)},
                                    {QStringLiteral("buffersLost"), f.BuffersLost},
                                    {QStringLiteral("reason"), f.Reason}});
    QJsonArray still;
    for (const StillWell& w : m.StillWells)
        still.append(QJsonObject{{QStringLiteral("well"), w.Well}, {QStringLiteral("since"), Local(w.Since)}});
    QJsonObject calibration{{QStringLiteral("run"), m.CalibrationRun}};
    if (m.BeamsSettled)
        calibration.insert(QStringLiteral("beamsSettled"), *m.BeamsSettled);

    QJsonObject o{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("formatVersion"), kFormatVersion},
        {QStringLiteral("complete"), m.Complete},
        {QStringLiteral("program"), QJsonObject{{QStringLiteral("version"), m.ProgramVersion}}},
        {QStringLiteral("experiment"), QJsonObject{{QStringLiteral("name"), m.ExperimentName},
                                                   {QStringLiteral("folder"), m.ExperimentFolder},
                                                   {QStringLiteral("project"), m.ProjectNumber},
                                                   {QStringLiteral("projectName"), m.ProjectName}}},
        {QStringLiteral("plate"), m.Plate},
        {QStringLiteral("groups"), groups},
        {QStringLiteral("detection"), QJsonObject{{QStringLiteral("method"), m.DetectionMethod},
                                                  {QStringLiteral("intervalTicks"), m.DetectionIntervalTicks},
                                                  {QStringLiteral("blankTicks"), m.BlankTicks},
                                                  {QStringLiteral("binary"), m.BinaryAcquisition},
                                                  {QStringLiteral("autoCalibrate"), m.AutoCalibrate},
                                                  {QStringLiteral("autoZero"), m.AutoZero},
                                                  {QStringLiteral("snr"), m.Snr},
                                                  {QStringLiteral("thresholds"), thresholds}}},
        {QStringLiteral("buffer"), QJsonObject{{QStringLiteral("rtBufferTicks"), m.RtBufferTicks},
                                               {QStringLiteral("sampleRate"), m.SampleRate},
                                               {QStringLiteral("lapseMinutes"), m.LapseMinutes}}},
        {QStringLiteral("light"), QJsonObject{{QStringLiteral("enabled"), m.LightEnabled},
                                              {QStringLiteral("onHour"), m.LightOnHour},
                                              {QStringLiteral("offHour"), m.LightOffHour},
                                              {QStringLiteral("pulses"), m.LightPulses},
                                              {QStringLiteral("pulseOnTenths"), m.PulseOnTenths},
                                              {QStringLiteral("pulseOffTenths"), m.PulseOffTenths}}},
        {QStringLiteral("temperature"), QJsonObject{{QStringLiteral("enabled"), m.TemperatureEnabled},
                                                    {QStringLiteral("setpointC"), m.TemperatureSetpoint}}},
        {QStringLiteral("port"), m.Port},
        {QStringLiteral("calibration"), calibration},
        {QStringLiteral("start"), When(m.Start)},
        {QStringLiteral("recordsWritten"), m.RecordsWritten},
        {QStringLiteral("tickRate"), m.TickRate},
        {QStringLiteral("recordingFailures"), failures},
        {QStringLiteral("stillWells"), still},
    };
    if (m.Complete) {
        o.insert(QStringLiteral("end"), When(m.End));
        if (m.StopReason)
            o.insert(QStringLiteral("stopReason"), StopReasonText(*m.StopReason));
    }
    return o;
}

RunManifest FromJson(const QJsonObject& o)
{
    RunManifest m;
    auto sub = [&o](const char* key) { return o.value(QLatin1String(key)).toObject(); };
    m.Complete = o.value(QStringLiteral("complete")).toBool();
    m.ProgramVersion = sub("program").value(QStringLiteral("version")).toString();
    const QJsonObject e = sub("experiment");
    m.ExperimentName = e.value(QStringLiteral("name")).toString();
    m.ExperimentFolder = e.value(QStringLiteral("folder")).toString();
    m.ProjectNumber = e.value(QStringLiteral("project")).toInt();
    m.ProjectName = e.value(QStringLiteral("projectName")).toString();
    m.Plate = o.value(QStringLiteral("plate")).toString();
    for (const QJsonValue& g : o.value(QStringLiteral("groups")).toArray())
        m.Groups.push_back(GroupFrom(g.toObject()));
    const QJsonObject d = sub("detection");
    m.DetectionMethod = d.value(QStringLiteral("method")).toInt();
    m.DetectionIntervalTicks = d.value(QStringLiteral("intervalTicks")).toInt();
    m.BlankTicks = d.value(QStringLiteral("blankTicks")).toInt();
    m.BinaryAcquisition = d.value(QStringLiteral("binary")).toBool();
    m.AutoCalibrate = d.value(QStringLiteral("autoCalibrate")).toBool();
    m.AutoZero = d.value(QStringLiteral("autoZero")).toBool();
    m.Snr = d.value(QStringLiteral("snr")).toDouble();
    for (const QJsonValue& t : d.value(QStringLiteral("thresholds")).toArray())
        m.Thresholds.push_back(t.toDouble());
    const QJsonObject b = sub("buffer");
    m.RtBufferTicks = b.value(QStringLiteral("rtBufferTicks")).toInt();
    m.SampleRate = b.value(QStringLiteral("sampleRate")).toInt();
    m.LapseMinutes = b.value(QStringLiteral("lapseMinutes")).toInt();
    const QJsonObject l = sub("light");
    m.LightEnabled = l.value(QStringLiteral("enabled")).toBool();
    m.LightOnHour = l.value(QStringLiteral("onHour")).toInt();
    m.LightOffHour = l.value(QStringLiteral("offHour")).toInt();
    m.LightPulses = l.value(QStringLiteral("pulses")).toInt();
    m.PulseOnTenths = l.value(QStringLiteral("pulseOnTenths")).toInt();
    m.PulseOffTenths = l.value(QStringLiteral("pulseOffTenths")).toInt();
    const QJsonObject t = sub("temperature");
    m.TemperatureEnabled = t.value(QStringLiteral("enabled")).toBool();
    m.TemperatureSetpoint = t.value(QStringLiteral("setpointC")).toDouble();
    m.Port = o.value(QStringLiteral("port")).toInt();
    const QJsonObject c = sub("calibration");
    m.CalibrationRun = c.value(QStringLiteral("run")).toBool();
    if (c.contains(QStringLiteral("beamsSettled")))
        m.BeamsSettled = c.value(QStringLiteral("beamsSettled")).toBool();
    m.Start = FromWhen(o.value(QStringLiteral("start")));
    m.End = FromWhen(o.value(QStringLiteral("end")));
    m.StopReason = StopReasonFromText(o.value(QStringLiteral("stopReason")).toString());
    m.RecordsWritten = o.value(QStringLiteral("recordsWritten")).toInteger();
    m.TickRate = o.value(QStringLiteral("tickRate")).toDouble();
    for (const QJsonValue& v : o.value(QStringLiteral("recordingFailures")).toArray()) {
        const QJsonObject f = v.toObject();
        m.Failures.push_back({QDateTime::fromString(f.value(QStringLiteral("from")).toString(), Qt::ISODate),
                              QDateTime::fromString(f.value(QStringLiteral("to")).toString(), Qt::ISODate),
                              f.value(QStringLiteral("buffersLost")).toInteger(),
                              f.value(QStringLiteral("reason")).toString()});
    }
    for (const QJsonValue& v : o.value(QStringLiteral("stillWells")).toArray()) {
        const QJsonObject w = v.toObject();
        m.StillWells.push_back({w.value(QStringLiteral("well")).toString(),
                                QDateTime::fromString(w.value(QStringLiteral("since")).toString(), Qt::ISODate)});
    }
    return m;
}

} // namespace

QString StopReasonText(RunStopReason reason)
{
    for (const auto& [r, text] : kReasons)
        if (r == reason)
            return QString::fromLatin1(text);
    return {};
}

std::optional<RunStopReason> StopReasonFromText(const QString& text)
{
    for (const auto& [r, t] : kReasons)
        if (text == QLatin1String(t))
            return r;
    return std::nullopt;
}

QString RunManifestPath(const QString& experimentFolder)
{
    return QDir(experimentFolder).filePath(QStringLiteral("run.json"));
}

bool WriteRunManifest(const QString& experimentFolder, const RunManifest& manifest, QString* error)
{
    QSaveFile file(RunManifestPath(experimentFolder));
    const QByteArray bytes = QJsonDocument(ToJson(manifest)).toJson(QJsonDocument::Indented);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return false;
}

ManifestReading ReadRunManifest(const QString& experimentFolder)
{
    ManifestReading reading;
    QFile file(RunManifestPath(experimentFolder));
    if (!file.exists())
        return reading;
    QJsonParseError parseError;
    const QJsonDocument doc = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll(), &parseError)
                                                             : QJsonDocument();
    if (!doc.isObject() || doc.object().value(QStringLiteral("format")).toString() != kFormat) {
        // A manifest cut off mid-write by a power cut reads as no JSON at all.
        reading.State = ManifestState::Unreadable;
        return reading;
    }
    reading.Manifest = FromJson(doc.object());
    reading.State = reading.Manifest.Complete ? ManifestState::Complete : ManifestState::Incomplete;
    return reading;
}

QString ManifestNotice(const ManifestReading& reading)
{
    switch (reading.State) {
    case ManifestState::Complete: {
        const RunManifest& m = reading.Manifest;
        return QStringLiteral("<Run> ended %1 (%2), %3 records written%4")
            .arg(m.End.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                 m.StopReason ? StopReasonText(*m.StopReason) : QStringLiteral("no reason recorded"))
            .arg(m.RecordsWritten)
            .arg(m.Failures.empty() ? QString()
                                    : QStringLiteral(", recording failed %1 time(s)").arg(m.Failures.size()));
    }
    case ManifestState::Incomplete:
        return QStringLiteral("This run did not end properly (program crash or power cut): run.json was never "
                              "completed; the records end where the recording stopped.");
    case ManifestState::Unreadable:
        return QStringLiteral("run.json of this experiment cannot be read.");
    case ManifestState::Absent:
        break;
    }
    return {};
}

QString ManifestWarning(const ManifestReading& reading)
{
    return reading.State == ManifestState::Complete ? QString() : ManifestNotice(reading);
}

} // namespace bandora
