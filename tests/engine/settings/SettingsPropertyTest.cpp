// Over many generated settings files, every writer of the store (the options
// dialog's batches, the per-item dialog's single writes, "addfolder", the
// rotation, Remove and Delete) changes exactly the keys it asks for: a model
// of sections and keys, changed op by op, must equal what the file reads as
// after each step. Seeded, so a failure names the case that shows it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <random>
#include <sstream>

#include "FileHelpers.h"
#include "PathRules.h"
#include "SettingsStore.h"
#include "VexloError.h"
#include "profile/ProfileFile.h"
#include "profile/ProfileName.h"

namespace vexlo {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// Sections as reads see them: folded section name -> keys in list order,
// each with its value. A section without keys reads as no section.
struct Model {
    std::map<std::string, Entries> sections;

    static std::string Fold(const std::string& name) {
        return FoldProfileName(TrimProfileBlanks(name));
    }
    Entries* Find(const std::string& section) {
        auto it = sections.find(Fold(section));
        return it == sections.end() ? nullptr : &it->second;
    }
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        Entries& keys = sections[Fold(section)];
        for (auto& [name, stored] : keys) {
            if (Fold(name) == Fold(key)) {
                stored = value;
                return;
            }
        }
        keys.emplace_back(std::string(TrimProfileBlanks(key)), value);
    }
    void Delete(const std::string& section, const std::string& key) {
        if (Entries* keys = Find(section)) {
            std::erase_if(*keys, [&](const auto& entry) { return Fold(entry.first) == Fold(key); });
        }
    }
    void Erase(const std::string& section) { sections.erase(Fold(section)); }
    void WriteSection(const std::string& section, const Entries& entries) {
        Erase(section);
        for (const auto& [key, value] : entries) {
            Set(section, key, value);
        }
    }
    void DropEmpty() {
        std::erase_if(sections, [](const auto& entry) { return entry.second.empty(); });
    }
};

Model ReadModel(const ProfileText& text) {
    Model model;
    for (const std::string& section : text.SectionNames()) {
        for (const std::string& key : text.AllKeyNames(section)) {
            model.sections[Model::Fold(section)].emplace_back(key, *text.Find(section, key));
        }
    }
    model.DropEmpty();
    return model;
}

std::string Describe(const Model& model) {
    std::ostringstream out;
    for (const auto& [section, keys] : model.sections) {
        out << "[" << section << "]\n";
        for (const auto& [key, value] : keys) {
            out << "  " << Model::Fold(key) << "=" << value << "\n";
        }
    }
    return out.str();
}

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    std::size_t Pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }
    bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }
    template <typename T>
    T OneOf(const std::vector<T>& items) {
        return items[Pick(items.size())];
    }

    std::string Section() {
        return OneOf<std::string>({"Folders", "Use Folders", "Settings", "Startup", "folders",
                                   "USE FOLDERS", "Nature", "Empty", "Wallpaper Changing"});
    }
    std::string Key() {
        return OneOf<std::string>(
            {"Pics", "pics", "Nature", "A", "Use Timer", "Random", "", "Shots", "b c"});
    }
    std::string Value() {
        return OneOf<std::string>({"/a/Pics/", "/b/Pics", "/x/Nature/", "/Shots/", "1", "0", "2",
                                   " padded ", "'q'", "\"dq\"", "", "/", "yes"});
    }

    // A settings file as a hand or another program may leave it.
    std::string File() {
        const std::string eol = Chance(20) ? "\n" : "\r\n";
        std::string text;
        if (Chance(10)) {
            text += "Orphan=before any section" + eol;
        }
        const std::size_t sections = Pick(7);
        for (std::size_t s = 0; s < sections; ++s) {
            const std::string name = Section();
            text += Chance(75) ? "[" + name + "]"
                               : OneOf<std::string>({" [ ", "\t[", "["}) + name +
                                     OneOf<std::string>({" ]", "]  ", "] ;x"});
            text += eol;
            const std::size_t keys = Pick(5);  // empty sections too
            for (std::size_t k = 0; k < keys; ++k) {
                const bool folder = ProfileNamesEqual(name, "Folders");
                std::string value = Value();
                std::string key = folder ? FolderKeyName(value) : Key();
                if (Chance(10)) {
                    key = Key();  // a key that does not match its folder
                }
                if (Chance(70)) {
                    text += key + "=" + value;
                } else {
                    text += OneOf<std::string>({" ", "\t", ""}) + key +
                            OneOf<std::string>({" = ", "= ", " ="}) + value + "  ";
                }
                text += eol;
                if (Chance(8)) {
                    text +=
                        OneOf<std::string>({"; a comment", "", "no equals sign", "[NoClose"}) + eol;
                }
            }
        }
        if (Chance(30) && !text.empty() && text.ends_with(eol)) {
            text.resize(text.size() - eol.size());  // no line ending at the end
        }
        return text;
    }

private:
    std::mt19937 random_;
};

class SettingsProperty : public ::testing::Test {
protected:
    std::string Path() const { return dir.filePath("Vexlo.ini").toStdString(); }
    Model FileModel() const { return ReadModel(ProfileText(test::ReadFile(Path()))); }

    // One step through `store`, applied to `model` as well; a step the file
    // refuses must change nothing.
    void Step(const std::string& what, Model& model, const std::function<void(Model&)>& write) {
        Model expected = model;
        try {
            write(expected);
        } catch (const VexloError&) {
            expected = model;
        }
        expected.DropEmpty();
        const Model actual = FileModel();
        ASSERT_EQ(Describe(actual), Describe(expected)) << what << "\nfile now:\n"
                                                        << test::ReadFile(Path());
        model = actual;
    }

    // In memory where the machine offers it: the steps are many, each write
    // is synced, and the property is about the text, not the disk.
    static QString Base() {
        return QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                   ? QStringLiteral("/dev/shm/vexlo-settings-XXXXXX")
                   : QDir::temp().filePath(QStringLiteral("vexlo-settings-XXXXXX"));
    }
    QTemporaryDir dir{Base()};
};

// What the options dialog's OK writes when nothing was changed: the rows and
// boxes as its load filled them, written back in its two batches.
void UnchangedOptionsOk(SettingsStore& store, Model& model) {
    const SettingsView view = store.View();
    Entries folders;
    Entries flags;
    for (const std::string& key : view.ReadSection("Folders")) {
        const std::string path = IncludeTrailingSeparator(view.ReadString("Folders", key, ""));
        const bool ticked = view.ReadBool("Use Folders", key, true);
        folders.emplace_back(FolderKeyName(path), path);
        flags.emplace_back(FolderKeyName(path), ticked ? "1" : "0");
    }
    const bool change = view.ReadBool("Startup", "Change Wallpaper", false);
    const bool random = view.ReadBool("Startup", "Random", true);
    const int timer = view.ReadInteger("Settings", "Timer Time", 10);
    model.Erase("Use Folders");
    model.WriteSection("Folders", folders);
    model.WriteSection("Use Folders", flags);
    model.Set("Startup", "Change Wallpaper", change ? "1" : "0");
    model.Set("Startup", "Random", random ? "1" : "0");
    store.Update([&](SettingsBatch& batch) {
        batch.EraseSection("Use Folders");
        batch.WriteSection("Folders", folders);
        batch.WriteSection("Use Folders", flags);
        batch.WriteBool("Startup", "Change Wallpaper", change);
        batch.WriteBool("Startup", "Random", random);
    });
    model.Set("Settings", "Timer Time", std::to_string(timer));
    store.Update(
        [&](SettingsBatch& batch) { batch.WriteInteger("Settings", "Timer Time", timer); });
}

TEST_F(SettingsProperty, UnchangedOptionsOksKeepEveryKey) {
    for (unsigned seed = 0; seed < 150; ++seed) {
        Generator gen(seed);
        test::WriteFile(Path(), gen.File());
        SettingsStore store(Path());
        Model model = FileModel();
        for (int ok = 1; ok <= 4; ++ok) {
            Step("seed " + std::to_string(seed) + ", OK " + std::to_string(ok), model,
                 [&](Model& m) { UnchangedOptionsOk(store, m); });
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

// Random steps of every writer, many of them rebuilding a section exactly as
// it stands (the case where a rebuilt section comes out identical).
TEST_F(SettingsProperty, EveryWriterChangesOnlyWhatItAsks) {
    for (unsigned seed = 0; seed < 100; ++seed) {
        Generator gen(seed * 7919u + 1u);
        test::WriteFile(Path(), gen.File());
        SettingsStore store(Path());
        Model model = FileModel();
        for (int step = 0; step < 6; ++step) {
            const std::string what =
                "seed " + std::to_string(seed) + ", step " + std::to_string(step);
            switch (gen.Pick(6)) {
                case 0:
                    Step(what + " (options OK)", model,
                         [&](Model& m) { UnchangedOptionsOk(store, m); });
                    break;
                case 1: {  // a batch of several changes
                    Step(what + " (batch)", model, [&](Model& m) {
                        store.Update([&](SettingsBatch& batch) {
                            const std::size_t ops = 1 + gen.Pick(4);
                            for (std::size_t i = 0; i < ops; ++i) {
                                const std::string section = gen.Section();
                                switch (gen.Pick(5)) {
                                    case 0: {  // the section rebuilt as it reads now
                                        Entries same =
                                            m.Find(section) ? *m.Find(section) : Entries{};
                                        m.WriteSection(section, same);
                                        batch.WriteSection(section, same);
                                        break;
                                    }
                                    case 1: {
                                        Entries entries;
                                        for (std::size_t k = gen.Pick(3); k > 0; --k) {
                                            entries.emplace_back(gen.Key(), gen.Value());
                                        }
                                        m.WriteSection(section, entries);
                                        batch.WriteSection(section, entries);
                                        break;
                                    }
                                    case 2: {
                                        const std::string key = gen.Key();
                                        const std::string value = gen.Value();
                                        m.Set(section, key, value);
                                        batch.WriteString(section, key, value);
                                        break;
                                    }
                                    case 3: {
                                        const std::string key = gen.Key();
                                        m.Delete(section, key);
                                        batch.DeleteKey(section, key);
                                        break;
                                    }
                                    default:
                                        m.Erase(section);
                                        batch.EraseSection(section);
                                        break;
                                }
                            }
                        });
                    });
                    break;
                }
                case 2: {  // the per-item dialog's OK: four single writes
                    const std::string item = gen.Section();
                    Step(what + " (per-item OK)", model, [&](Model& m) {
                        m.Set(item, "Icon Caption", "16777215");
                        store.WriteInteger(item, "Icon Caption", 16777215);
                        m.Set(item, "Use Transparent Icons", "0");
                        store.WriteBool(item, "Use Transparent Icons", false);
                        m.Set(item, "Use Specific Apply", "1");
                        store.WriteBool(item, "Use Specific Apply", true);
                        m.Set(item, "Apply Method", "2");
                        store.WriteInteger(item, "Apply Method", 2);
                    });
                    break;
                }
                case 3: {  // "addfolder", straight into the file under another name
                    const std::string folder = gen.Value();
                    Step(what + " (addfolder)", model, [&](Model& m) {
                        m.Set("Folders", FolderKeyName(folder), folder);
                        WriteProfileString(dir.filePath("vexlo.ini").toStdString(), "Folders",
                                           FolderKeyName(folder), folder);
                    });
                    break;
                }
                case 4: {  // a rotation step
                    const std::string folder = gen.Key();
                    const std::string file = gen.Value();
                    Step(what + " (rotation)", model, [&](Model& m) {
                        m.Set("Wallpaper Changing", "Folder", folder);
                        store.WriteString("Wallpaper Changing", "Folder", folder);
                        m.Set("Wallpaper Changing", "File", file);
                        store.WriteString("Wallpaper Changing", "File", file);
                    });
                    break;
                }
                default: {  // the per-item dialog's Delete, or the options dialog's Remove
                    const std::string item = gen.Section();
                    const std::string key = gen.Key();
                    Step(what + " (delete)", model, [&](Model& m) {
                        if (IsProgramSectionName(item)) {
                            for (std::string_view perItem : kPerItemKeys) {
                                m.Delete(item, std::string(perItem));
                            }
                        } else {
                            m.Erase(item);
                        }
                        store.EraseItemSection(item);
                        m.Delete("Folders", key);
                        m.Delete("Use Folders", key);
                        store.Update([&](SettingsBatch& batch) {
                            batch.DeleteKey("Folders", key);
                            batch.DeleteKey("Use Folders", key);
                        });
                    });
                    break;
                }
            }
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

}  // namespace
}  // namespace vexlo
