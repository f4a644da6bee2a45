"""Checks JSON documents against a JSON Schema with Debian's python3-jsonschema.

Usage: validate_json.py SCHEMA.json DOCUMENTS.json
DOCUMENTS.json holds an array; one line is printed per document: "ok", or "refused: " and the first error.
The schema itself is checked against draft 2020-12 first; an invalid schema ends with status 2.
"""
import json
import sys

from jsonschema import Draft202012Validator, exceptions


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    with open(sys.argv[2], encoding="utf-8") as f:
        documents = json.load(f)
    try:
        Draft202012Validator.check_schema(schema)
    except exceptions.SchemaError as error:
        print("invalid schema:", error.message)
        return 2
    validator = Draft202012Validator(schema)
    for document in documents:
        error = next(iter(validator.iter_errors(document)), None)
        print("ok" if error is None else "refused: " + "/".join(map(str, error.absolute_path)) + ": " + error.message)
    return 0


if __name__ == "__main__":
    sys.exit(main())
