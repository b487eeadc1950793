// Lists of strings: TStrings is the abstract list that controls expose
// (list box items, memo lines); TStringList is the plain stored list with
// sorting, duplicates handling and change events. Lines are UTF-8; name
// comparisons are case-insensitive for ASCII letters.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Exception.h"
#include "host/base/Object.h"
#include "host/base/Stream.h"
#include "host/components/Events.h"
#include "host/components/Persistent.h"

namespace qz {

// An index outside 0..Count-1: EStringListError "List index out of bounds (i)".
class EStringListError : public Exception { using Exception::Exception; };

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  QZ_CLASS(TStrings, TPersistent)
 public:
  // --- what a concrete list provides ---------------------------------------
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);  // Delete + Insert by default
  virtual TObject* GetObject(int index) const { return nullptr; }
  virtual void PutObject(int index, TObject* object) {}
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // --- common operations ----------------------------------------------------
  std::string operator[](int index) const { return Get(index); }
  std::string Strings(int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }

  // Appends (a sorted list inserts in order); returns the new line's index.
  virtual int Add(const std::string& s);
  int AddObject(const std::string& s, TObject* object);
  void InsertObject(int index, const std::string& s, TObject* object);
  void AddStrings(const TStrings& other);
  void Move(int from, int to);
  void Exchange(int a, int b);
  // First line equal to s (case-insensitive), or -1.
  virtual int IndexOf(std::string_view s) const;
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;

  // Lines joined with "\n" (each line followed by one). SetText splits on
  // "\r\n", "\n" and "\r"; a final line break does not make an empty line.
  std::string Text() const;
  virtual void SetText(std::string_view text);
  // Comma-separated; items with spaces, commas or quotes are double-quoted
  // with "" escapes. SetCommaText splits on commas and unquoted blanks.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  // name=value lines.
  std::string Names(int index) const;  // "" when the line has no '='
  std::string Values(std::string_view name) const;
  // Sets the value of the first line with that name; an empty value deletes
  // the line; a new name appends "name=value".
  void SetValues(std::string_view name, const std::string& value);
  std::string ValueFromIndex(int index) const;

  // Batches changes: OnChanging/OnChange fire once around the batch.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // UTF-8 text (a leading UTF-8 byte order mark is skipped).
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  // Same lines, in the same order (case-sensitive).
  bool Equals(const TStrings& other) const;
  void Assign(const TPersistent& source) override;

  // The lines as a vector (for convenience).
  std::vector<std::string> ToVector() const;

 protected:
  // Called with true when a batch starts, false when it ends.
  virtual void SetUpdateState(bool updating) {}
  void CheckIndex(int index, int limit) const;
  void AssignTo(TPersistent& dest) const override;

 private:
  int updateCount_ = 0;
};

class TStringList : public TStrings {
  QZ_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  // EStringListError "Operation not allowed on sorted list" when Sorted.
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Sorted: inserted in order; a duplicate is ignored (returns the existing
  // index), accepted, or raises EStringListError "String list does not allow
  // duplicates", per Duplicates. Unsorted lists accept duplicates.
  int Add(const std::string& s) override;
  int IndexOf(std::string_view s) const override;
  // Sorted lists only: true and the index of s, or false and where it would go.
  bool Find(std::string_view s, int& index) const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);  // sorting an unsorted list sorts it now
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  // Stable sort by the list's comparison.
  virtual void Sort();
  void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();
  int Compare(std::string_view a, std::string_view b) const;

 private:
  struct TItem {
    std::string text;
    TObject* object = nullptr;
  };
  void InsertItem(int index, const std::string& s, TObject* object);

  std::vector<TItem> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace qz
